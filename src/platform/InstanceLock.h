#pragma once

#include <string>

namespace lumavox {

enum class InstanceLockState {
    Acquired,       // this process holds the lock (or already held it)
    HeldByAnother,  // a running copy holds it
    Unavailable,    // the lock could not be taken at all (Error() says why); nobody holds it
};

// System-wide "only one copy runs" guard. UI thread only (taken once at start-up).
class IInstanceLock {
public:
    virtual ~IInstanceLock() = default;
    virtual InstanceLockState TryAcquire() = 0;
    // After Unavailable: the lock's path and the system's reason; empty otherwise.
    virtual const std::string& Error() const = 0;
};

// flock() on "<dir>/<name>.lock". The kernel drops the lock when the holding process dies, however
// it dies, so a crashed copy never blocks the next start. The directory defaults to
// $XDG_RUNTIME_DIR, else /tmp. Only a lock another process holds means another copy runs; a path
// that cannot be opened or locked (a folder, another user's unreadable file) is Unavailable, and
// the program starts without the guard.
class FileInstanceLock final : public IInstanceLock {
public:
    explicit FileInstanceLock(std::string name, std::string directory = {});
    ~FileInstanceLock() override;
    FileInstanceLock(const FileInstanceLock&) = delete;
    FileInstanceLock& operator=(const FileInstanceLock&) = delete;

    InstanceLockState TryAcquire() override;
    const std::string& Error() const override { return m_error; }
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
    std::string m_error;
    int m_fd = -1;
};

inline constexpr const char* kInstanceLockName = "Lumavox_is_running";

}  // namespace lumavox
