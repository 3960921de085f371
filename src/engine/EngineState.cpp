#include "engine/EngineState.h"

#include <algorithm>
#include <limits>

namespace lumavox {

static_assert(std::atomic<int32_t>::is_always_lock_free);
static_assert(std::atomic<uint32_t>::is_always_lock_free);
static_assert(std::atomic<bool>::is_always_lock_free);

void RecomputeTimelineLength(EngineState& state) {
    const int64_t length = static_cast<int64_t>(state.PrePlayTime.load()) +
                           state.SoundLength.load() + state.PostPlayTime.load();
    state.TimelineLength.store(static_cast<int32_t>(std::clamp<int64_t>(
        length, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max())));
}

}  // namespace lumavox
