#include "platform/ShutdownSignals.h"

#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

namespace lumavox {
namespace {

sigset_t StopSet() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    return set;
}

}  // namespace

ShutdownSignals::ShutdownSignals() {
    const sigset_t set = StopSet();
    if (pthread_sigmask(SIG_BLOCK, &set, nullptr) != 0) return;
    m_fd = signalfd(-1, &set, SFD_CLOEXEC | SFD_NONBLOCK);
    if (m_fd < 0) pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
}

ShutdownSignals::~ShutdownSignals() {
    if (m_fd < 0) return;
    close(m_fd);
    const sigset_t set = StopSet();
    pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
}

bool ShutdownSignals::Wait(std::chrono::milliseconds bound) {
    if (m_received || m_fd < 0) return m_received;
    pollfd p{m_fd, POLLIN, 0};
    if (poll(&p, 1, static_cast<int>(bound.count())) > 0) {
        signalfd_siginfo info{};
        m_received = read(m_fd, &info, sizeof info) == static_cast<ssize_t>(sizeof info);
    }
    return m_received;
}

}  // namespace lumavox
