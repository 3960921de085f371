#pragma once

#include <atomic>
#include <cstdint>

#include "platform/Clock.h"

namespace lumavox {

// A clock the test advances by hand. Any thread.
class ManualClock final : public IClock {
public:
    explicit ManualClock(uint32_t start = 1000) : m_now(start) {}
    uint32_t NowMs() const override { return m_now.load(); }
    void Advance(uint32_t ms) { m_now.fetch_add(ms); }
    void Set(uint32_t ms) { m_now.store(ms); }

private:
    std::atomic<uint32_t> m_now;
};

}  // namespace lumavox
