// What render and export compute from an opened show: the length of its sound.
#include "cli/ShowRender.h"

#include <climits>

#include "cli/StderrReporter.h"
#include "sound/player/PcmSource.h"

namespace lumavox::cli {

std::optional<int32_t> SoundLengthOf(const std::string& soundPath, std::string& problem) {
    const PcmSourceResult opened = OpenPcmSource(soundPath);
    if (!opened.Source) {
        problem = soundPath + ": not a readable sound (" + EnglishSoundText(opened.Error) + ")";
        return std::nullopt;
    }
    const int64_t ms = FramesToMs(opened.Source->FrameCount(), opened.Source->Rate());
    return ms > INT32_MAX ? INT32_MAX : static_cast<int32_t>(ms);
}

}  // namespace lumavox::cli
