#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "dmx/Patch.h"
#include "model/ProjectData.h"

namespace lumavox::cli {

// The length of a sound file as the sound player reports it (sample frames × 1000 / rate,
// truncated); nothing, with the reason in problem, when it cannot be read as a sound.
std::optional<int32_t> SoundLengthOf(const std::string& soundPath, std::string& problem);

// The eight line output colours and the DMX frame that the engine tick produces with the play
// position at t, without a preview colour or a patch check.
void RenderFrame(const ProjectData& project, const PatchTable& patch, int32_t t,
                 std::array<int32_t, kLineCount>& colours, DmxFrame& frame);

}  // namespace lumavox::cli
