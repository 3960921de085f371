#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/EngineState.h"

namespace lumavox {

// What the display timer and the play panel show, computed without the UI. Pure functions, any
// thread, unless noted.

// The time label: text and font colour (0x00BBGGRR).
struct TimeLabel {
    std::string Text;
    int32_t FontColour = 0xFFFFFF;
};

inline constexpr int32_t kPreRollTimeColour = 0x808000;   // teal
inline constexpr int32_t kPostRollTimeColour = 0xFF00FF;  // magenta
inline constexpr int32_t kSoundTimeColour = 0xFFFFFF;     // white
inline constexpr std::string_view kInitialTimeLabel = "00:00:00.00";

// "-hh:mm:ss.cc" in the pre-roll, "+hh:mm:ss.cc" after the sound end (the absolute position, not
// the time since the end), " hh:mm:ss.cc" inside the sound.
TimeLabel FormatTimeLabel(int32_t cursorTime, int32_t soundLength);

// Status panel 0: the output part ("DMX:OK", "NET:--", ...) followed by "  Audio:OK",
// "  Audio:--" when the sound device plays silently on the clock, or "  Audio:NG".
std::string StatusPanel0Text(std::string_view outputState, bool audioAvailable,
                             bool silentClock = false);

// The warning that the show plays without sound: due (true once) when the silent clock starts to
// stand in for the sound server, again only after the server has served in between. UI thread.
class SilentAudioNotice {
public:
    bool Due(bool silentClock) {
        const bool due = silentClock && !m_silent;
        m_silent = silentClock;
        return due;
    }

private:
    bool m_silent = false;
};

// The volume slider (0 at the top, 255 at the bottom): the wave volume it sets for each channel
// and the status panel 2 text, "音量=%3u" in percent.
uint16_t SliderWaveVolume(int sliderPosition);
std::string VolumeStatusText(int sliderPosition);

// The horizontal scroll position that brings the sound start near the left edge of the time line.
int32_t SoundStartScrollPosition(int32_t prePlayTime, double pixelsPerMs);

// Display timer, first step: true (and cleared) when the tick restarted the sound for repeat play
// since the last call; the caller then scrolls to SoundStartScrollPosition. UI thread.
bool TakeRepeatRestarted(EngineState& state);

// Whether the auto-backup timer saves now: only a modified project that already has a file name.
bool AutoBackupDue(bool autoSave, bool modified, std::string_view projectFileName);

}  // namespace lumavox
