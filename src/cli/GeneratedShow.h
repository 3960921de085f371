#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "model/ProjectData.h"

namespace lumavox::cli {

// A show the tool makes itself (the demo, the calibration show): NAME.wav and NAME.prj.
struct GeneratedShow {
    std::string Name;   // file name without extension
    std::string Title;  // the project's title
    std::function<std::vector<uint8_t>()> WavBytes;
    std::function<void(ProjectData&)> BuildSteps;
};

// Writes the show into folderArg (made absolute, created when missing) and prints both paths.
// Everything that can be checked is checked before the sound is written, and each file is written
// atomically, so a failure leaves no partial file behind. Returns 0 with projectPath set, or the
// exit status after the failure's message.
int WriteGeneratedShow(const std::string& folderArg, const GeneratedShow& show,
                       std::string& projectPath);

}  // namespace lumavox::cli
