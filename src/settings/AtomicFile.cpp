#include "settings/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <string>
#include <system_error>

namespace lumavox {

namespace {

SaveResult Failure(const std::string& path, int error) {
    return SaveResult{"ファイル " + path + " を作成できません",
                      std::system_category().message(error)};
}

bool WriteAll(int fd, std::string_view bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

// Creates a new, unique file beside the target. O_EXCL (rather than mkstemp) lets the umask pick
// the permissions of a first-time file, as for any file the program creates.
int CreateTemporary(const std::filesystem::path& folder, const std::string& base,
                    std::string& tempPath) {
    static std::atomic<unsigned> counter{0};  // only uniqueness matters, so relaxed is enough
    for (int attempt = 0; attempt < 100; ++attempt) {
        const unsigned n = counter.fetch_add(1, std::memory_order_relaxed);
        tempPath = (folder / ("." + base + "." + std::to_string(::getpid()) + "." +
                              std::to_string(n) + ".tmp"))
                       .string();
        const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    errno = EEXIST;
    return -1;
}

}  // namespace

std::optional<std::string> ReadFileBytes(const std::string& path, size_t maxBytes) {
    // O_NONBLOCK: a path naming a FIFO must not hang the caller; it is then refused as not regular.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return std::nullopt;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) ||
        static_cast<uint64_t>(st.st_size) > maxBytes) {
        ::close(fd);
        return std::nullopt;
    }
    std::string bytes;
    std::array<char, 65536> chunk{};
    for (;;) {
        const ssize_t n = ::read(fd, chunk.data(), chunk.size());
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 || bytes.size() + static_cast<size_t>(n) > maxBytes) {
            ::close(fd);
            return std::nullopt;
        }
        if (n == 0) break;
        bytes.append(chunk.data(), static_cast<size_t>(n));
    }
    ::close(fd);
    return bytes;
}

SaveResult WriteFileAtomically(const std::string& path, std::string_view bytes) {
    namespace fs = std::filesystem;
    const fs::path target(path);
    fs::path folder = target.parent_path();
    if (folder.empty()) folder = ".";
    std::error_code ec;
    fs::create_directories(folder,
                           ec);  // fails harmlessly when it exists; mkstemp reports the rest

    std::string tempPath;
    const int fd = CreateTemporary(folder, target.filename().string(), tempPath);
    if (fd < 0) return Failure(path, errno);

    int error = 0;
    struct stat old {};
    if (::stat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode) &&
        ::fchmod(fd, old.st_mode & 07777) != 0) {
        error = errno;
    }
    if (error == 0 && !WriteAll(fd, bytes)) error = errno;
    if (error == 0 && ::fsync(fd) != 0) error = errno;
    if (::close(fd) != 0 && error == 0) error = errno;
    if (error == 0 && ::rename(tempPath.c_str(), path.c_str()) != 0) error = errno;
    if (error != 0) {
        ::unlink(tempPath.c_str());
        return Failure(path, error);
    }
    // Make the rename itself durable; a failure here no longer risks the old contents.
    const int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return {};
}

}  // namespace lumavox
