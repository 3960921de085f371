#pragma once

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "fakes/HeadlessPulseServer.h"
#include "sound/WavFixture.h"

namespace lumavox::test {

// A 16-bit stereo WAV of frameCount frames at rate: a quiet 440 Hz tone.
inline void WriteToneWav(const std::string& path, uint32_t frameCount, uint32_t rate = 44100) {
    std::vector<int16_t> samples(static_cast<size_t>(frameCount) * 2);
    for (uint32_t i = 0; i < frameCount; ++i) {
        const double v = 3000.0 * std::sin(2.0 * 3.14159265358979 * 440.0 * i / rate);
        samples[2 * i] = static_cast<int16_t>(v);
        samples[2 * i + 1] = static_cast<int16_t>(v);
    }
    WavRecipe recipe;
    recipe.Rate = rate;
    WriteFile(path, WavBytes(recipe, Pcm16(samples)));
}

// Encodes a WAV file to MP3 with lame (which records the encoder delay and padding for gapless
// decoding). False when lame is missing or fails.
inline bool EncodeMp3(const std::string& wav, const std::string& mp3) {
    return lumavox::testing::HeadlessPulseServer::Run({"lame", "--quiet", "-b", "128", wav, mp3});
}

}  // namespace lumavox::test
