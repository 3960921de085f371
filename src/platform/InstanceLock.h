#pragma once

#include <string>

namespace lumavox {

// System-wide "only one copy runs" guard. UI thread only (taken once at start-up).
class IInstanceLock {
public:
    virtual ~IInstanceLock() = default;
    // True when this process now holds the lock (or already held it); false when another does.
    virtual bool TryAcquire() = 0;
};

// flock() on "<dir>/<name>.lock". The kernel drops the lock when the holding process dies, however
// it dies, so a crashed copy never blocks the next start. The directory defaults to
// $XDG_RUNTIME_DIR, else /tmp.
class FileInstanceLock final : public IInstanceLock {
public:
    explicit FileInstanceLock(std::string name, std::string directory = {});
    ~FileInstanceLock() override;
    FileInstanceLock(const FileInstanceLock&) = delete;
    FileInstanceLock& operator=(const FileInstanceLock&) = delete;

    bool TryAcquire() override;
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
    int m_fd = -1;
};

inline constexpr const char* kInstanceLockName = "Lumavox_is_running";

}  // namespace lumavox
