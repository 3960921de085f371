#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "dmx/Patch.h"
#include "model/ProjectData.h"
#include "model/ProjectFile.h"

namespace lumavox::cli {

// Loads the project at path (absolute) and makes its patch the working patch. Nothing, after a
// one-line error on stderr, when it cannot be loaded.
std::optional<ProjectLoadResult> LoadShow(const std::string& path, ProjectData& project,
                                          PatchTable& patch);

// The sound a show plays: the --sound file when given, else the project's sound file found by
// LocateSoundFile (a warning says so when it was found beside the project instead of at its stored
// path). Problem is the one-line message when there is no usable file.
struct ShowSound {
    std::string Path;
    std::string Problem;
    bool Given = false;  // named by --sound
};
ShowSound FindShowSound(const std::string& projectPath, const ProjectData& project,
                        const std::string* soundOption);

// The length of a sound file as the sound player reports it (sample frames × 1000 / rate,
// truncated); nothing, with the reason in problem, when it cannot be read as a sound.
std::optional<int32_t> SoundLengthOf(const std::string& soundPath, std::string& problem);

// The eight line output colours and the DMX frame that the engine tick produces with the play
// position at t, without a preview colour or a patch check.
void RenderFrame(const ProjectData& project, const PatchTable& patch, int32_t t,
                 std::array<int32_t, kLineCount>& colours, DmxFrame& frame);

}  // namespace lumavox::cli
