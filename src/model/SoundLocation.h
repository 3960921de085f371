#pragma once

#include <string>
#include <vector>

#include "platform/Paths.h"

namespace lumavox {

// Where a project's sound file is. The stored path comes first (resolved as ResolveSoundPath does);
// when no regular file is there, a file of the same name in the project file's own folder is
// taken, so a show folder that was moved or copied keeps its sound. The project is not changed.
// Any thread (it only asks the file system).
struct SoundLocation {
    std::string Path;                // the file found; empty when none was
    std::vector<std::string> Tried;  // every path looked at, in order (Path is the last when found)

    bool Found() const { return !Path.empty(); }
};

// projectPath: the project file's path; storedSoundPath: the header's sound path as stored
// (HeaderSoundFile). An empty stored path finds nothing and tries nothing.
SoundLocation LocateSoundFile(const std::string& projectPath, const std::string& storedSoundPath,
                              const std::string& programFolder = ExeDir());

}  // namespace lumavox
