#pragma once

// Network namespaces for tests and benchmarks that send real packets. Nothing here ever touches the
// machine's own interfaces: EnterFreshNetNamespace moves the calling thread into a new, empty
// namespace (threads it starts afterwards, and commands it runs, stay there), and PeerNamespace
// is a second one on a thread of its own, joined to the first by a veth pair. Both vanish with
// the threads that hold them. Needs CAP_SYS_ADMIN; without it the callers skip (under CI=true
// that is a failure).

#include <sched.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <condition_variable>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace lumavox {

inline std::string CurrentNetNamespace() {
    char link[128] = {};
    const ssize_t n = readlink("/proc/thread-self/ns/net", link, sizeof link - 1);
    return n > 0 ? std::string(link, static_cast<size_t>(n)) : std::string();
}

// The namespace the process started in: the machine's own network, never to be changed.
inline const std::string kStartNetNamespace = CurrentNetNamespace();

// Runs a shell command in the calling thread's network namespace; true on exit status 0. Refuses
// to run anything while the thread is still in the namespace the process started in.
inline bool RunInNamespace(const std::string& command) {
    const std::string current = CurrentNetNamespace();
    if (current.empty() || current == kStartNetNamespace) return false;
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

// Moves the calling thread into a fresh network namespace with loopback up. Returns an empty text
// on success, else why it could not.
inline std::string EnterFreshNetNamespace() {
    const std::string before = CurrentNetNamespace();
    if (unshare(CLONE_NEWNET) != 0) return "unshare(CLONE_NEWNET) failed: no permission";
    const std::string after = CurrentNetNamespace();
    if (after.empty() || after == before) return "the network namespace did not change";
    if (!RunInNamespace("ip link set lo up")) return "ip link set lo up failed";
    return {};
}

inline bool UnderCi() {
    const char* ci = std::getenv("CI");
    return ci != nullptr && std::string(ci) == "true";
}

// A second namespace on its own thread; Run executes work there (sockets made inside stay there).
class PeerNamespace {
public:
    PeerNamespace() {
        m_thread = std::thread([this] { Loop(); });
        std::unique_lock<std::mutex> lock(m_mutex);
        m_changed.wait(lock, [&] { return m_ready; });
    }
    ~PeerNamespace() {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_stop = true;
        }
        m_changed.notify_all();
        m_thread.join();
    }
    PeerNamespace(const PeerNamespace&) = delete;
    PeerNamespace& operator=(const PeerNamespace&) = delete;

    bool Ok() const { return m_error.empty(); }
    const std::string& Error() const { return m_error; }
    pid_t Tid() const { return m_tid; }

    // Does nothing when the namespace could not be made.
    void Run(std::function<void()> work) {
        if (!Ok()) return;
        std::unique_lock<std::mutex> lock(m_mutex);
        m_work = std::move(work);
        m_changed.notify_all();
        m_changed.wait(lock, [&] { return !m_work; });
    }

    // Creates the pair `local` (in the calling thread's namespace) / `peer` (here) and gives both
    // ends their address ("2.0.0.1/8"), with the broadcast address derived from the prefix.
    bool Link(const std::string& local, const std::string& localAddress, const std::string& peer,
              const std::string& peerAddress) {
        if (!RunInNamespace("ip link add " + local + " type veth peer name " + peer + " netns " +
                            std::to_string(m_tid)) ||
            !RunInNamespace("ip addr add " + localAddress + " brd + dev " + local) ||
            !RunInNamespace("ip link set " + local + " up")) {
            return false;
        }
        bool ok = false;
        Run([&] {
            ok = RunInNamespace("ip addr add " + peerAddress + " brd + dev " + peer) &&
                 RunInNamespace("ip link set " + peer + " up");
        });
        return ok;
    }

private:
    void Loop() {
        std::string error = EnterFreshNetNamespace();
        std::unique_lock<std::mutex> lock(m_mutex);
        m_error = error;
        m_tid = static_cast<pid_t>(syscall(SYS_gettid));
        m_ready = true;
        m_changed.notify_all();
        while (true) {
            m_changed.wait(lock, [&] { return m_stop || static_cast<bool>(m_work); });
            if (m_stop) return;
            lock.unlock();
            m_work();
            lock.lock();
            m_work = nullptr;
            m_changed.notify_all();
        }
    }

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::function<void()> m_work;
    bool m_ready = false;
    bool m_stop = false;
    std::string m_error;
    pid_t m_tid = 0;
    std::thread m_thread;
};

}  // namespace lumavox

// In a test body: enter a fresh namespace or skip (fail under CI=true).
#define LUMAVOX_ENTER_NET_NAMESPACE_OR_SKIP()                                     \
    do {                                                                          \
        const std::string lumavoxNsError = ::lumavox::EnterFreshNetNamespace();   \
        if (!lumavoxNsError.empty()) {                                            \
            if (::lumavox::UnderCi())                                             \
                FAIL() << "network namespaces unavailable: " << lumavoxNsError;   \
            GTEST_SKIP() << "network namespaces unavailable: " << lumavoxNsError; \
        }                                                                         \
    } while (false)
