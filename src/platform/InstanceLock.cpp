#include "platform/InstanceLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdlib>

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

bool FileInstanceLock::TryAcquire() {
    if (m_fd >= 0) return true;
    const int fd = open(m_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        close(fd);
        return false;
    }
    m_fd = fd;
    return true;
}

}  // namespace lumavox
