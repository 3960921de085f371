#pragma once

#include <atomic>
#include <chrono>

#include "engine/EngineState.h"

namespace lumavox {

inline constexpr std::chrono::milliseconds kPostRequestBound{1000};

// Sets one of the request flags of state and waits until the tick has cleared it, at most for
// bound. The caller cannot tell whether the tick took the request in time (nor needs to: a late
// request is still carried out by the next tick). Any thread but the output thread.
void PostRequest(EngineState& state, std::atomic<bool>& request,
                 std::chrono::milliseconds bound = kPostRequestBound);

}  // namespace lumavox
