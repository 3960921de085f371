#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

namespace lumavox {

// Wakes the UI thread waiting in PostRequest when the tick has cleared a request flag.
//
// The tick (output thread) calls Notify after each clear; it costs one atomic load unless someone
// waits, and then a lock that a waiter holds only while it loads its flag. Waiters (any thread)
// call WaitCleared with a bound. The waiter count and the flags are sequentially consistent, so
// either the tick sees the waiter and wakes it, or the waiter sees the cleared flag.
class RequestSignal {
public:
    void Notify() {
        if (m_waiters.load() == 0) return;
        { std::lock_guard<std::mutex> lock(m_mutex); }
        m_cv.notify_all();
    }

    // True when the flag was seen cleared before the deadline.
    bool WaitCleared(const std::atomic<bool>& flag,
                     std::chrono::steady_clock::time_point deadline) {
        m_waiters.fetch_add(1);
        bool cleared;
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            cleared = m_cv.wait_until(lock, deadline, [&flag] { return !flag.load(); });
        }
        m_waiters.fetch_sub(1);
        return cleared;
    }

private:
    std::atomic<int> m_waiters{0};
    std::mutex m_mutex;
    std::condition_variable m_cv;
};

}  // namespace lumavox
