#pragma once

#include "dmx/Patch.h"

namespace lumavox {

// What an output thread calls once per output period to get the frame it sends: in the program
// this is the engine tick, in tests a fake. Output thread only; must not block.
class IFrameSource {
public:
    virtual ~IFrameSource() = default;
    virtual void Tick(DmxFrame& frame) = 0;
};

}  // namespace lumavox
