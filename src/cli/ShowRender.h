#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "dmx/Patch.h"
#include "model/ProjectData.h"
#include "model/ProjectFile.h"

namespace lumavox::cli {

// Loads the project named on the command line (relative to the working directory) and makes its
// patch the working patch. Nothing, after a one-line error on stderr, when it cannot be loaded.
std::optional<ProjectLoadResult> LoadShow(const std::string& argument, ProjectData& project,
                                          PatchTable& patch);

// The length of the project's sound file as the sound player reports it (sample frames × 1000 /
// rate, truncated), or 0 when there is no readable sound.
int32_t SoundLengthOfProject(const ProjectData& project);

// The eight line output colours and the DMX frame that the engine tick produces with the play
// position at t, without a preview colour or a patch check.
void RenderFrame(const ProjectData& project, const PatchTable& patch, int32_t t,
                 std::array<int32_t, kLineCount>& colours, DmxFrame& frame);

}  // namespace lumavox::cli
