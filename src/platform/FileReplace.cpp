#include "platform/FileReplace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>

namespace lumavox {

namespace {

int WriteAll(int fd, const uint8_t* data, size_t size) {
    while (size > 0) {
        const ssize_t n = write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        if (n == 0) return EIO;
        data += n;
        size -= static_cast<size_t>(n);
    }
    return 0;
}

std::string FolderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// Opens a new, unused file in the target's folder (rename only replaces within one file system).
// The name is short, so a target name near the length limit still gets a temporary file, and
// recognisable if a crash leaves it behind.
int CreateTemporary(const std::string& target, std::string& name) {
    static std::atomic<unsigned> counter{0};
    const std::string prefix = FolderOf(target) + "/.lumavox-save-" + std::to_string(getpid());
    for (int attempt = 0; attempt < 100; ++attempt) {
        name =
            prefix + "-" + std::to_string(counter.fetch_add(1, std::memory_order_relaxed)) + ".tmp";
        const int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    errno = EEXIST;
    return -1;
}

}  // namespace

int ReplaceFileAtomically(const std::string& path, std::span<const uint8_t> bytes, bool sync) {
    if (path.empty()) return ENOENT;
    std::string target = path;
    struct stat old {};
    bool oldExists = lstat(path.c_str(), &old) == 0;
    if (oldExists && S_ISLNK(old.st_mode)) {
        // Replace the file the link names, not the link.
        char resolved[PATH_MAX];
        if (realpath(path.c_str(), resolved) != nullptr) target = resolved;
        oldExists = stat(target.c_str(), &old) == 0;
    }

    std::string temporary;
    const int fd = CreateTemporary(target, temporary);
    if (fd < 0) return errno;
    if (oldExists && S_ISREG(old.st_mode)) fchmod(fd, old.st_mode & 07777);

    int error = WriteAll(fd, bytes.data(), bytes.size());
    if (error == 0 && sync && fsync(fd) != 0) error = errno;
    if (close(fd) != 0 && error == 0) error = errno;
    if (error == 0 && rename(temporary.c_str(), target.c_str()) != 0) error = errno;
    if (error != 0) {
        unlink(temporary.c_str());
        return error;
    }
    if (sync) {
        // Make the rename itself durable.
        const int dir = open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dir >= 0) {
            fsync(dir);
            close(dir);
        }
    }
    return 0;
}

int ReadRegularFile(const std::string& path, size_t maxBytes, std::string& bytes) {
    bytes.clear();
    if (path.empty()) return ENOENT;
    // O_NONBLOCK: opening a FIFO must not wait for a writer; it is refused below.
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return errno;
    struct stat st {};
    int error = 0;
    if (fstat(fd, &st) != 0) {
        error = errno;
    } else if (!S_ISREG(st.st_mode)) {
        error = EINVAL;
    } else if (static_cast<uint64_t>(st.st_size) > maxBytes) {
        error = EFBIG;
    } else {
        bytes.resize(static_cast<size_t>(st.st_size));
        size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = read(fd, bytes.data() + done, bytes.size() - done);
            if (n < 0) {
                if (errno == EINTR) continue;
                error = errno;
                break;
            }
            if (n == 0) break;  // the file shrank meanwhile
            done += static_cast<size_t>(n);
        }
        bytes.resize(done);
    }
    close(fd);
    if (error != 0) bytes.clear();
    return error;
}

}  // namespace lumavox
