#pragma once

#include <cstdint>

namespace lumavox {

// Sleeps on CLOCK_MONOTONIC for the given milliseconds (resuming after signals). Any thread.
void SleepMs(uint32_t milliseconds);
// Gives up the processor once (the spin-wait of the output loops).
void YieldThread();
// Raises the calling thread one step above normal priority where the system allows it; returns
// false, changing nothing, where it does not.
bool RaiseCurrentThreadPriority();

}  // namespace lumavox
