#include "cli/ScratchFolder.h"

#include <poll.h>
#include <signal.h>
#include <sys/eventfd.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>

namespace lumavox::cli {

namespace {

sigset_t StopSignals() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGHUP);
    return set;
}

}  // namespace

ScratchFolder::ScratchFolder() {
    std::error_code ec;
    std::filesystem::path base = std::filesystem::temp_directory_path(ec);
    if (ec) base = "/tmp";
    std::string templ = (base / "lumavox-cli-XXXXXX").string();
    if (mkdtemp(templ.data()) == nullptr) return;
    m_folder = templ;
    if (const char* old = std::getenv("TMPDIR")) m_oldTmpdir = old;
    setenv("TMPDIR", m_folder.c_str(), 1);

    const sigset_t set = StopSignals();
    if (pthread_sigmask(SIG_BLOCK, &set, nullptr) != 0) return;
    m_signalFd = signalfd(-1, &set, SFD_CLOEXEC);
    m_stopFd = eventfd(0, EFD_CLOEXEC);
    if (m_signalFd < 0 || m_stopFd < 0) {
        // Without the watcher the signals act as usual; only the normal way out cleans up.
        pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
        return;
    }
    m_watcher = std::thread([this] { Watch(); });
}

ScratchFolder::~ScratchFolder() {
    if (m_watcher.joinable()) {
        const uint64_t one = 1;
        if (write(m_stopFd, &one, sizeof one) == static_cast<ssize_t>(sizeof one)) {
            m_watcher.join();
        } else {
            m_watcher.detach();  // cannot happen with an eventfd; never block the way out
        }
    }
    if (m_signalFd >= 0) close(m_signalFd);
    if (m_stopFd >= 0) close(m_stopFd);
    if (m_signalFd >= 0) {
        const sigset_t set = StopSignals();
        pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
    }
    if (m_folder.empty()) return;
    std::error_code ec;
    std::filesystem::remove_all(m_folder, ec);
    if (m_oldTmpdir) {
        setenv("TMPDIR", m_oldTmpdir->c_str(), 1);
    } else {
        unsetenv("TMPDIR");
    }
}

void ScratchFolder::Watch() {
    pollfd fds[2] = {{m_signalFd, POLLIN, 0}, {m_stopFd, POLLIN, 0}};
    for (;;) {
        if (poll(fds, 2, -1) < 0) continue;  // EINTR
        if ((fds[1].revents & POLLIN) != 0) return;
        if ((fds[0].revents & POLLIN) == 0) continue;
        signalfd_siginfo info{};
        if (read(m_signalFd, &info, sizeof info) != static_cast<ssize_t>(sizeof info)) continue;
        std::error_code ec;
        std::filesystem::remove_all(m_folder, ec);
        // End the process by the signal, so the caller sees "killed by SIGINT" as usual.
        const int signo = static_cast<int>(info.ssi_signo);
        signal(signo, SIG_DFL);
        sigset_t one;
        sigemptyset(&one);
        sigaddset(&one, signo);
        pthread_sigmask(SIG_UNBLOCK, &one, nullptr);
        pthread_kill(pthread_self(), signo);
        _exit(128 + signo);  // not reached
    }
}

}  // namespace lumavox::cli
