#include "platform/InstanceLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/UdpSocket.h"

namespace lumavox {

namespace {

std::string DefaultLockDirectory() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && runtime[0] != '\0' && access(runtime, W_OK) == 0) return runtime;
    return "/tmp";
}

}  // namespace

FileInstanceLock::FileInstanceLock(std::string name, std::string directory) {
    if (directory.empty()) directory = DefaultLockDirectory();
    if (directory.back() != '/') directory += '/';
    m_path = directory + name + ".lock";
}

FileInstanceLock::~FileInstanceLock() {
    if (m_fd >= 0) close(m_fd);  // releases the flock
}

InstanceLockState FileInstanceLock::TryAcquire() {
    if (m_fd >= 0) return InstanceLockState::Acquired;
    m_error.clear();
    const auto unavailable = [&](const std::string& reason) {
        m_error = "cannot take the single-instance lock " + m_path + ": " + reason;
        return InstanceLockState::Unavailable;
    };
    // Readable by all: a copy of another user can still open the file read-only and lock it
    // (flock needs no write access), so it sees a running copy instead of a refusal.
    // O_NONBLOCK: a FIFO in its place must not stop the start.
    int fd = open(m_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0644);
    if (fd < 0 && (errno == EACCES || errno == EPERM)) {
        fd = open(m_path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    }
    if (fd < 0) return unavailable(SystemErrorText(errno));
    struct stat info {};
    if (fstat(fd, &info) != 0) {
        const int error = errno;
        close(fd);
        return unavailable(SystemErrorText(error));
    }
    if (!S_ISREG(info.st_mode)) {
        close(fd);
        return unavailable("not a regular file");
    }
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        close(fd);
        if (error == EWOULDBLOCK) return InstanceLockState::HeldByAnother;
        return unavailable(SystemErrorText(error));
    }
    m_fd = fd;
    return InstanceLockState::Acquired;
}

}  // namespace lumavox
