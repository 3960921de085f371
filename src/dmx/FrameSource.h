#pragma once

#include <cstdint>
#include <optional>

#include "dmx/Patch.h"

namespace lumavox {

// What an output thread calls once per output period to get the frame it sends: in the program
// this is the engine tick, in tests a fake. Output thread only; must not block.
class IFrameSource {
public:
    virtual ~IFrameSource() = default;
    virtual void Tick(DmxFrame& frame) = 0;

    // The frames follow show time = play position + offsetMs, so lights that react late can be
    // sent early (positive) or held back (negative). The running output sets its own before every
    // tick. Sources without a show time ignore it.
    virtual void SetLightOffsetMs(int32_t /*offsetMs*/) {}
    // Event timing: the clock time (IClock::NowMs) at which the frame next changes by itself (the
    // next step of any line after the show time at afterMs), placed by the clock model of the
    // last tick; nothing when the show time stands still or no step follows.
    virtual std::optional<uint32_t> NextStepAt(uint32_t /*afterMs*/) { return std::nullopt; }
    // The frame for clock time nowMs by the last tick's clock model, between two ticks: nothing
    // is carried out (no requests, no sound device). A source without one gives the last frame.
    virtual void FrameAt(uint32_t /*nowMs*/, DmxFrame& /*frame*/) {}
};

}  // namespace lumavox
