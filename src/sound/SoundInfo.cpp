#include "sound/SoundInfo.h"

#include <sys/stat.h>

#include <cstdio>

#include "model/ProjectFile.h"
#include "model/UsrFunc.h"
#include "platform/Paths.h"
#include "sound/Mp3Decode.h"

namespace lumavox {

namespace {

std::string FormatHead(int32_t rate, const char* middle, int32_t value, int32_t channels) {
    char buffer[96];
    std::snprintf(buffer, sizeof buffer, "%u.%ukHz %u%s ", static_cast<unsigned>(rate / 1000),
                  static_cast<unsigned>((rate % 1000) / 100), static_cast<unsigned>(value), middle);
    return std::string(buffer) + (channels == 2 ? "stereo  " : "mono  ");
}

}  // namespace

SoundInfo SoundInfoText(WavSound& sound, const std::string& path) {
    SoundInfo info;
    const std::string resolved = CompletePath(path);
    struct stat st {};
    if (resolved.empty() || stat(resolved.c_str(), &st) != 0) return info;

    if (HasExtension(resolved, ".WAV")) {
        WaveInfo wave;
        if (!sound.ReadWaveInfo(resolved, &wave)) return info;
        info.Ok = true;
        info.Channels = wave.Channels;
        info.Rate = wave.Rate;
        info.BytesPerSample = wave.BytesPerSample;
        info.Bits = wave.BitsPerSample;
        info.LengthMs = wave.LengthMs;
        info.Text = FormatHead(wave.Rate, "bit", wave.BitsPerSample, wave.Channels) +
                    MillisText(wave.LengthMs);
        return info;
    }

    info.Ok = true;
    info.IsMp3 = true;
    Mp3Info mp3;
    if (!ReadMp3Info(resolved, &mp3)) {
        info.Text = "MP3 Audio File ?";
        return info;
    }
    info.Channels = mp3.Channels;
    info.Rate = mp3.Rate;
    info.BytesPerSample = 2;  // decoded to 16-bit PCM
    info.Bits = 16;
    info.BitRate = mp3.BitRate;
    info.LengthMs = mp3.LengthSec * 1000;
    info.Text =
        FormatHead(mp3.Rate, "kbps", mp3.BitRate, mp3.Channels) + SecondsText(mp3.LengthSec);
    return info;
}

}  // namespace lumavox
