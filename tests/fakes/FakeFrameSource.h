#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <vector>

#include "dmx/FrameSource.h"

namespace lumavox {

// Counts and timestamps ticks and fills each frame with what the test set. Any thread.
class FakeFrameSource final : public IFrameSource {
public:
    void Tick(DmxFrame& frame) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_changeEveryTick) ++m_frame[0];
        frame = m_frame;
        ++m_ticks;
        m_tickTimes.push_back(std::chrono::steady_clock::now());
        m_ticked.notify_all();
    }
    void SetChannel(int index, uint8_t value) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_frame[static_cast<size_t>(index)] = value;
    }
    // Makes every frame differ from the one before (channel 1 counts up).
    void ChangeEveryTick() {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_changeEveryTick = true;
    }
    std::vector<std::chrono::steady_clock::time_point> TickTimes() const {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_tickTimes;
    }
    int Ticks() const {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_ticks;
    }
    bool WaitForTicks(int count, std::chrono::milliseconds bound) {
        std::unique_lock<std::mutex> lock(m_mutex);
        return m_ticked.wait_for(lock, bound, [&] { return m_ticks >= count; });
    }

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_ticked;
    DmxFrame m_frame{};
    int m_ticks = 0;
    bool m_changeEveryTick = false;
    std::vector<std::chrono::steady_clock::time_point> m_tickTimes;
};

}  // namespace lumavox
