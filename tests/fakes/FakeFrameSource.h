#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>

#include "dmx/FrameSource.h"

namespace lumavox {

// Counts ticks and fills each frame with what the test set. Any thread.
class FakeFrameSource final : public IFrameSource {
public:
    void Tick(DmxFrame& frame) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        frame = m_frame;
        ++m_ticks;
        m_ticked.notify_all();
    }
    void SetChannel(int index, uint8_t value) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_frame[static_cast<size_t>(index)] = value;
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
};

}  // namespace lumavox
