#pragma once

#include <algorithm>
#include <cstdint>

#include "dmx/FrameSchedule.h"
#include "settings/EnvData.h"

namespace lumavox {

// The frame timing of the outputs as the settings describe it. Any thread.
inline OutputTiming OutputTimingFrom(const EnvData& env) {
    OutputTiming timing;
    timing.EventTimed = env.EventTimed;
    timing.MinFrameGapMs = static_cast<uint32_t>(std::clamp<int32_t>(
        env.MinFrameGapMs, 0, static_cast<int32_t>(FrameSchedule::kMaxMinGapMs)));
    timing.UsbLightOffsetMs = OutputTiming::ClampOffset(env.UsbLightOffsetMs);
    timing.ArtnetLightOffsetMs = OutputTiming::ClampOffset(env.ArtnetLightOffsetMs);
    timing.SacnLightOffsetMs = OutputTiming::ClampOffset(env.SacnLightOffsetMs);
    return timing;
}

}  // namespace lumavox
