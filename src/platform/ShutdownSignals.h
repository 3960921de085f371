#pragma once

#include <signal.h>

#include <chrono>

namespace lumavox {

// Turns SIGINT, SIGTERM and SIGHUP into a request that a headless program (the command-line
// player) waits for, so it ends through its normal shutdown: output threads terminated, the final
// USB header sent, an added Art-Net address removed. SIGPIPE is ignored meanwhile, so a closed
// output pipe only fails the write. Construct it in main() before any thread is started: it blocks
// the stop signals in the calling thread, and threads started later inherit that. Further stop
// signals during the shutdown are swallowed. Main thread only.
class ShutdownSignals {
public:
    ShutdownSignals();
    ~ShutdownSignals();
    ShutdownSignals(const ShutdownSignals&) = delete;
    ShutdownSignals& operator=(const ShutdownSignals&) = delete;

    // True once SIGINT, SIGTERM or SIGHUP has arrived; waits at most `bound` for one.
    bool Wait(std::chrono::milliseconds bound);

private:
    int m_fd = -1;  // signalfd; -1 when it could not be made (the signals then act as usual)
    bool m_received = false;
    bool m_pipeSaved = false;
    struct sigaction m_oldPipe {};
};

}  // namespace lumavox
