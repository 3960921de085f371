#include "engine/PlayDisplay.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <limits>

#include "model/Msgstr.h"

namespace lumavox {

TimeLabel FormatTimeLabel(int32_t cursorTime, int32_t soundLength) {
    // |INT32_MIN| does not fit in int32: take the magnitude in 64 bits.
    const int64_t t = cursorTime < 0 ? -static_cast<int64_t>(cursorTime) : cursorTime;
    char sign = ' ';
    TimeLabel label;
    if (cursorTime < 0) {
        sign = '-';
        label.FontColour = kPreRollTimeColour;
    } else if (cursorTime > soundLength) {
        sign = '+';
        label.FontColour = kPostRollTimeColour;
    } else {
        label.FontColour = kSoundTimeColour;
    }
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%c%02" PRId64 ":%02" PRId64 ":%02" PRId64 ".%02" PRId64,
                  sign, t / 3600000, t / 60000 % 60, t / 1000 % 60, t / 10 % 100);
    label.Text = buffer;
    return label;
}

std::string StatusPanel0Text(std::string_view outputState, bool audioAvailable, bool silentClock) {
    std::string text(outputState);
    text += !audioAvailable ? "  Audio:NG" : (silentClock ? "  Audio:--" : "  Audio:OK");
    return text;
}

uint16_t SliderWaveVolume(int sliderPosition) {
    const int v = 255 - std::clamp(sliderPosition, 0, 255);
    return static_cast<uint16_t>(v * 255);
}

std::string VolumeStatusText(int sliderPosition) {
    const int v = 255 - std::clamp(sliderPosition, 0, 255);
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "=%3d", v * 100 / 255);
    return std::string(MsgText(Msg::Volume)) + buffer;
}

int32_t SoundStartScrollPosition(int32_t prePlayTime, double pixelsPerMs) {
    const double x = static_cast<double>(prePlayTime) * pixelsPerMs;
    if (!(x > 0.0)) return 0;  // also NaN
    // Truncates toward zero within the int32 range.
    const double limited = std::min(x, static_cast<double>(std::numeric_limits<int32_t>::max()));
    return std::max(0, static_cast<int32_t>(limited) - 16);
}

bool TakeRepeatRestarted(EngineState& state) {
    return state.RepeatRestarted.exchange(false);
}

bool AutoBackupDue(bool autoSave, bool modified, std::string_view projectFileName) {
    return autoSave && modified && !projectFileName.empty();
}

}  // namespace lumavox
