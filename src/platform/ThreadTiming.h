#pragma once

#include <cstdint>

namespace lumavox {

// Sleeps on CLOCK_MONOTONIC for the given milliseconds (resuming after signals). Any thread.
void SleepMs(uint32_t milliseconds);
// Sleeps until the next whole millisecond of CLOCK_MONOTONIC: the fine wait of the output loops
// just before a frame, whose millisecond clock (SteadyClock) ticks on those boundaries.
void SleepToNextMillisecond();
// Raises the calling thread above the program's normal threads where the system allows it
// (lowest real-time priority, else nice -1); returns false, changing nothing, where it does not.
bool RaiseCurrentThreadPriority();

}  // namespace lumavox
