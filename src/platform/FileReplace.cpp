#include "platform/FileReplace.h"

#include <dirent.h>
#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cstdlib>
#include <optional>
#include <string_view>

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

// Makes a rename in the target's folder durable.
void SyncFolderOf(const std::string& target) {
    const int dir = open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        fsync(dir);
        close(dir);
    }
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

// The file a path names once symbolic links are followed, also when the last link dangles (the
// file it names is then created); a relative link counts from the folder it lies in. 0 or errno.
int FollowLinks(const std::string& path, std::string& target) {
    target = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (lstat(target.c_str(), &st) != 0) return errno == ENOENT ? 0 : errno;
        if (!S_ISLNK(st.st_mode)) return 0;
        std::string link(static_cast<size_t>(st.st_size > 0 ? st.st_size : PATH_MAX) + 1, '\0');
        const ssize_t n = readlink(target.c_str(), link.data(), link.size());
        if (n < 0) return errno;
        if (static_cast<size_t>(n) >= link.size()) return ENAMETOOLONG;  // changed meanwhile
        link.resize(static_cast<size_t>(n));
        target = (!link.empty() && link[0] == '/') ? link : FolderOf(target) + "/" + link;
    }
    return ELOOP;
}

// Our temporary files: ".lumavox-save-<pid>-<n>.tmp"; the pid, or 0 for any other name.
pid_t SaveFileOwner(const char* name) {
    constexpr std::string_view kPrefix = ".lumavox-save-";
    constexpr std::string_view kSuffix = ".tmp";
    const std::string_view text(name);
    if (text.size() <= kPrefix.size() + kSuffix.size() || !text.starts_with(kPrefix) ||
        !text.ends_with(kSuffix)) {
        return 0;
    }
    const std::string_view middle =
        text.substr(kPrefix.size(), text.size() - kPrefix.size() - kSuffix.size());
    const auto dash = middle.find('-');
    if (dash == 0 || dash == std::string_view::npos || dash + 1 == middle.size()) return 0;
    const auto digits = [](std::string_view t) {
        return std::all_of(t.begin(), t.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    if (!digits(middle.substr(0, dash)) || !digits(middle.substr(dash + 1))) return 0;
    pid_t pid = 0;
    const auto [end, ec] = std::from_chars(middle.data(), middle.data() + dash, pid);
    return ec == std::errc() && pid > 0 ? pid : 0;
}

// Removes the temporary files that saves into this folder left behind when their process was
// killed: ours by name and owner, whose process no longer runs. A process that runs (or that we
// may not signal) keeps its file, as does anything else.
void RemoveStaleSaveFiles(const std::string& folder) {
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr) return;
    const pid_t self = getpid();
    const uid_t user = geteuid();
    while (const dirent* entry = readdir(dir)) {
        const pid_t pid = SaveFileOwner(entry->d_name);
        if (pid == 0 || pid == self) continue;
        if (kill(pid, 0) == 0 || errno != ESRCH) continue;
        struct stat st {};
        if (fstatat(dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISREG(st.st_mode) || st.st_uid != user) {
            continue;
        }
        unlinkat(dirfd(dir), entry->d_name, 0);
    }
    closedir(dir);
}

// While it lives, a write into a pipe whose reader has gone fails with EPIPE instead of ending the
// program with SIGPIPE; a SIGPIPE raised meanwhile for this thread is taken back before the old
// mask returns, one that was pending before is left alone.
class SigpipeGuard {
public:
    SigpipeGuard() {
        sigemptyset(&m_set);
        sigaddset(&m_set, SIGPIPE);
        sigset_t pending;
        sigemptyset(&pending);
        sigpending(&pending);
        m_pendingBefore = sigismember(&pending, SIGPIPE) == 1;
        pthread_sigmask(SIG_BLOCK, &m_set, &m_old);
    }
    ~SigpipeGuard() {
        if (!m_pendingBefore) {
            sigset_t pending;
            sigemptyset(&pending);
            if (sigpending(&pending) == 0 && sigismember(&pending, SIGPIPE) == 1) {
                const timespec now{};
                while (sigtimedwait(&m_set, nullptr, &now) < 0 && errno == EINTR) {
                }
            }
        }
        pthread_sigmask(SIG_SETMASK, &m_old, nullptr);
    }
    SigpipeGuard(const SigpipeGuard&) = delete;
    SigpipeGuard& operator=(const SigpipeGuard&) = delete;

private:
    sigset_t m_set;
    sigset_t m_old;
    bool m_pendingBefore = false;
};

// Writes into what path names when that exists and is not a regular file: a device, a FIFO, the
// pipe behind /dev/fd/N, also through links. Renaming a new file over such a target would replace
// the device node or the FIFO itself instead of feeding it. Returns 0 or errno when the bytes were
// written there (or failed to be), and nullopt when path is a regular file or missing, or became
// one before it was opened: that is replaced as a whole.
std::optional<int> WriteInPlace(const std::string& path, std::span<const uint8_t> bytes) {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0 || S_ISREG(st.st_mode)) return std::nullopt;
    // Blocking, like any writer: a FIFO is opened once it has a reader.
    const int fd = open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return errno;
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
        close(fd);  // swapped for a regular file meanwhile: never overwritten in place
        return std::nullopt;
    }
    int error = 0;
    {
        SigpipeGuard guard;
        error = WriteAll(fd, bytes.data(), bytes.size());
    }
    if (close(fd) != 0 && error == 0 && errno != EINTR) error = errno;
    return error;
}

}  // namespace

int ReplaceFileAtomically(const std::string& path, std::span<const uint8_t> bytes, bool sync) {
    if (path.empty()) return ENOENT;
    if (const std::optional<int> inPlace = WriteInPlace(path, bytes)) return *inPlace;
    // A symbolic link stays: the file it names is replaced, or created when it does not exist.
    std::string target;
    if (const int error = FollowLinks(path, target); error != 0) return error;
    struct stat old {};
    const bool oldExists = stat(target.c_str(), &old) == 0;

    RemoveStaleSaveFiles(FolderOf(target));
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
    if (sync) SyncFolderOf(target);
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

FileReplacement::~FileReplacement() {
    Discard();
}

int FileReplacement::Open(const std::string& path) {
    Discard();
    if (path.empty()) return ENOENT;
    std::string target;
    if (const int error = FollowLinks(path, target); error != 0) return error;
    struct stat old {};
    const bool oldExists = stat(target.c_str(), &old) == 0;
    if (oldExists && !S_ISREG(old.st_mode)) return EINVAL;
    RemoveStaleSaveFiles(FolderOf(target));
    const int fd = CreateTemporary(target, m_temporary);
    if (fd < 0) return errno;
    if (oldExists) fchmod(fd, old.st_mode & 07777);
    m_fd = fd;
    m_target = target;
    return 0;
}

int FileReplacement::Append(std::span<const uint8_t> bytes) {
    if (m_fd < 0) return EBADF;
    return WriteAll(m_fd, bytes.data(), bytes.size());
}

int FileReplacement::WriteAt(uint64_t offset, std::span<const uint8_t> bytes) {
    if (m_fd < 0) return EBADF;
    const uint8_t* data = bytes.data();
    size_t size = bytes.size();
    while (size > 0) {
        const ssize_t n = pwrite(m_fd, data, size, static_cast<off_t>(offset));
        if (n < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        if (n == 0) return EIO;
        data += n;
        size -= static_cast<size_t>(n);
        offset += static_cast<uint64_t>(n);
    }
    return 0;
}

int FileReplacement::Commit(bool sync) {
    if (m_fd < 0) return EBADF;
    int error = 0;
    if (sync && fsync(m_fd) != 0) error = errno;
    if (close(m_fd) != 0 && error == 0) error = errno;
    m_fd = -1;
    if (error == 0 && rename(m_temporary.c_str(), m_target.c_str()) != 0) error = errno;
    if (error != 0) {
        unlink(m_temporary.c_str());
        m_temporary.clear();
        return error;
    }
    m_temporary.clear();
    if (sync) SyncFolderOf(m_target);
    return 0;
}

void FileReplacement::Discard() {
    if (m_fd >= 0) {
        close(m_fd);
        m_fd = -1;
    }
    if (!m_temporary.empty()) {
        unlink(m_temporary.c_str());
        m_temporary.clear();
    }
}

}  // namespace lumavox
