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
    sigaddset(&set, SIGHUP);  // the terminal or SSH session went away
    return set;
}

}  // namespace

ShutdownSignals::ShutdownSignals() {
    // A closed pipe on stderr or stdout (`… 2>&1 | head`) must not end the show: the write fails
    // and the run goes on.
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    m_pipeSaved = sigaction(SIGPIPE, &ignore, &m_oldPipe) == 0;
    const sigset_t set = StopSet();
    if (pthread_sigmask(SIG_BLOCK, &set, nullptr) != 0) return;
    m_fd = signalfd(-1, &set, SFD_CLOEXEC | SFD_NONBLOCK);
    if (m_fd < 0) pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
}

ShutdownSignals::~ShutdownSignals() {
    if (m_pipeSaved) sigaction(SIGPIPE, &m_oldPipe, nullptr);
    if (m_fd < 0) return;
    // A second stop signal that came during the shutdown is still pending; unblocked, it would end
    // the process with that signal's status after all. Take them all first.
    signalfd_siginfo info{};
    while (read(m_fd, &info, sizeof info) == static_cast<ssize_t>(sizeof info)) {
    }
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
