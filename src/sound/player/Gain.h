#pragma once

#include <cstddef>
#include <cstdint>

namespace lumavox {

// Applies the output volume to interleaved 16-bit samples: volume holds the left gain in its low
// 16 bits and the right gain in its high 16 bits, 0xFFFF being unity. Mono uses the left gain.
// sample * gain stays within int32 (|-32768 * 65535| < 2^31); the division truncates toward zero.
inline void ApplyGain(int16_t* samples, size_t frameCount, uint32_t channels, uint32_t volume) {
    if (volume == 0xFFFFFFFFu || channels == 0) return;
    const int32_t gains[2] = {static_cast<int32_t>(volume & 0xFFFFu),
                              static_cast<int32_t>(volume >> 16)};
    for (size_t i = 0; i < frameCount * channels; ++i) {
        const int32_t gain = gains[channels == 2 ? i % 2 : 0];
        samples[i] = static_cast<int16_t>(samples[i] * gain / 0xFFFF);
    }
}

}  // namespace lumavox
