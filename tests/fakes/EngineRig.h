#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string_view>
#include <utility>

#include "dmx/Patch.h"
#include "engine/Engine.h"
#include "engine/EngineState.h"
#include "model/ProjectData.h"
#include "platform/Clock.h"
#include "sound/player/SoundDevice.h"

namespace lumavox::test {

// An engine over the values it shares with the rest of the program, on a device and clock of the
// test's choosing (a real server, the clock device, a fallback). The members are the test's to
// set and read; the caller's thread plays the output thread through `engine.EngineTick`.
struct EngineRig {
    using WarnFn = std::function<void(std::string_view message, std::string_view caption)>;

    EngineRig(ISoundDevice& device, const IClock& clock, bool repeatOn = false, WarnFn warn = {})
        : repeat(repeatOn),
          engine(EngineContext{state, project, patch, output, device, clock, repeat, patchCheck,
                               std::move(warn)}) {}

    EngineState state;
    ProjectData project;
    PatchTable patch;
    LineOutput output;
    std::atomic<bool> repeat;
    std::atomic<int32_t> patchCheck{-1};
    Engine engine;
};

}  // namespace lumavox::test
