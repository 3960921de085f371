#pragma once

#include <string>

#include "sound/WavSound.h"

namespace lumavox {

// The one-line description of a sound file that the project settings dialog shows under its path.
struct SoundInfo {
    bool Ok = false;   // the file can be used as the project's sound
    std::string Text;  // "44.1kHz 16bit stereo  00:02:03.45", "MP3 Audio File ?", or empty
    // The figures behind the text (zeros when unknown).
    int32_t Channels = 0;
    int32_t Rate = 0;
    int32_t BytesPerSample = 0;
    int32_t Bits = 0;
    int32_t LengthMs = 0;
    int32_t BitRate = 0;  // kbit/s, MP3 only
    bool IsMp3 = false;
};

// Describes the file at path (resolved against the program folder). A ".WAV" file is described
// through ReadWaveInfo, which reports a refused file through the sound's reporter (Ok stays false);
// any other existing file is taken as an MP3 (Ok is true even when its information cannot be read).
// A missing file gives Ok false and an empty text. UI thread only (uses the caller's WavSound).
SoundInfo SoundInfoText(WavSound& sound, const std::string& path);

}  // namespace lumavox
