// What render computes from an opened show: the sound's length and the frame at a time.
#include "cli/ShowRender.h"

#include <climits>

#include "cli/StderrReporter.h"
#include "engine/Engine.h"
#include "model/ColourEval.h"
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

void RenderFrame(const ProjectData& project, const PatchTable& patch, int32_t t,
                 std::array<int32_t, kLineCount>& colours, DmxFrame& frame) {
    SourceChannels sources{};
    BuildOutputFrame(project, patch, t, -1, NoColour, -1, colours, sources, frame);
}

}  // namespace lumavox::cli
