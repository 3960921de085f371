#pragma once

#include <cstdint>

namespace lumavox {

// Monotonic millisecond clock: the time base of the free clock and of the output threads' periods.
// Any thread. The count wraps after about 49.7 days; callers subtract in uint32 arithmetic.
class IClock {
public:
    virtual ~IClock() = default;
    virtual uint32_t NowMs() const = 0;
};

// CLOCK_MONOTONIC in milliseconds. Any thread, lock-free.
class SteadyClock final : public IClock {
public:
    uint32_t NowMs() const override;
};

}  // namespace lumavox
