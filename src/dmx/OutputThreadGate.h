#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

#include "platform/ThreadTiming.h"

namespace lumavox {

// Start, park and stop of an output thread. The control thread (the UI, or the command-line
// player) calls Resume/Suspend/RequestTerminate/WaitExited; the output loop calls Continue at the
// top of every iteration and MarkExited when it ends. The loop only ever parks inside Continue,
// where it holds nothing, so a suspended thread never blocks anybody. Starts parked.
class OutputThreadGate {
public:
    void Resume();
    // Asks the loop to park at the top of its next iteration and waits, at most `bound`, until it
    // has. True when it is parked (or has ended).
    bool Suspend(std::chrono::milliseconds bound);
    void RequestTerminate();
    // True when the loop has ended within the bound.
    bool WaitExited(std::chrono::milliseconds bound);

    // Output thread: true to run one more iteration, false to end the loop. Blocks while parked.
    bool Continue();
    void MarkExited();

    bool Running() const { return m_request.load(std::memory_order_relaxed) == Request::Run; }

private:
    enum class Request { Park, Run, Terminate };
    std::mutex m_mutex;
    std::condition_variable m_changed;
    // Written under m_mutex; the loop's lock-free fast path reads it with acquire so that what the
    // control thread wrote before Resume is visible once the loop sees Run.
    std::atomic<Request> m_request{Request::Park};
    bool m_parked = false;  // guarded by m_mutex
    bool m_exited = false;  // guarded by m_mutex
};

// The body of an output thread: raises its priority, then runs loop.Start() once and
// loop.Iterate() every iteration until the gate ends it, sleeping for what Iterate returns (or to
// the next millisecond when it returns 0). Nothing escapes: on an exception the loop ends and the
// control thread cleans up.
template <class Loop>
void RunOutputLoop(OutputThreadGate& gate, Loop& loop) {
    RaiseCurrentThreadPriority();
    bool started = false;
    try {
        while (gate.Continue()) {
            if (!started) {
                loop.Start();
                started = true;
                continue;
            }
            const uint32_t sleepMs = loop.Iterate();
            if (sleepMs > 0) {
                SleepMs(sleepMs);
            } else {
                SleepToNextMillisecond();
            }
        }
    } catch (...) {
    }
    gate.MarkExited();
}

}  // namespace lumavox
