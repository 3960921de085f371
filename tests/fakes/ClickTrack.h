#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <random>
#include <vector>

namespace lumavox::testing {

// A click track with known answers for the onset detector: short decaying noise clicks of
// varied loudness at irregular times (gaps of 120..900 ms, drawn from seed) over a quiet tone
// that starts with the sound and never stops. Stereo, 16-bit.
struct ClickTrack {
    int32_t Rate = 44100;
    std::vector<int16_t> Samples;  // interleaved left, right
    // The first sample frame of each onset: 0 (where the tone starts) and each click.
    std::vector<int64_t> Onsets;
    size_t Frames() const { return Samples.size() / 2; }
};

inline ClickTrack MakeClickTrack(double seconds, uint32_t seed = 7, int32_t rate = 44100) {
    ClickTrack track;
    track.Rate = rate;
    track.Onsets.push_back(0);
    const auto frames = static_cast<size_t>(seconds * rate);
    std::vector<double> mix(frames, 0.0);
    constexpr double kTwoPi = 2.0 * std::numbers::pi;
    for (size_t n = 0; n < frames; ++n) {
        mix[n] = 0.03 * std::sin(kTwoPi * 220.0 * static_cast<double>(n) / rate);  // -30 dBFS
    }
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> gapMs(120, 900);
    std::uniform_real_distribution<double> loudness(0.25, 0.9);
    std::uniform_real_distribution<double> noise(-1.0, 1.0);
    const auto clickFrames = static_cast<size_t>(rate / 100);  // 10 ms, mostly decayed after 3
    for (int64_t at = rate / 2 + gapMs(random) * rate / 1000;
         static_cast<size_t>(at) + clickFrames < frames; at += gapMs(random) * rate / 1000) {
        track.Onsets.push_back(at);
        const double level = loudness(random);
        for (size_t i = 0; i < clickFrames; ++i) {
            const double t = static_cast<double>(i) / rate;
            mix[static_cast<size_t>(at) + i] += level * noise(random) * std::exp(-t * 1500.0);
        }
    }
    track.Samples.resize(frames * 2);
    for (size_t n = 0; n < frames; ++n) {
        const auto s = static_cast<int16_t>(std::clamp(mix[n], -1.0, 1.0) * 32000.0);
        track.Samples[2 * n] = s;
        track.Samples[2 * n + 1] = s;
    }
    return track;
}

// How well found onset times (ms) match the track's: each true onset pairs with at most one
// found onset within toleranceMs, in time order.
struct OnsetScore {
    double FMeasure = 0.0;
    double MeanErrorMs = 0.0;  // mean of found - true over the pairs
    size_t Matched = 0;
};

inline OnsetScore ScoreOnsets(const std::vector<int32_t>& found, const ClickTrack& track,
                              double toleranceMs = 10.0) {
    OnsetScore score;
    double errorSum = 0.0;
    size_t next = 0;
    for (const int64_t onset : track.Onsets) {
        const double truth = static_cast<double>(onset) * 1000.0 / track.Rate;
        while (next < found.size() && found[next] < truth - toleranceMs) ++next;
        if (next < found.size() && found[next] <= truth + toleranceMs) {
            errorSum += found[next] - truth;
            ++score.Matched;
            ++next;
        }
    }
    if (score.Matched > 0) {
        const double precision =
            static_cast<double>(score.Matched) / static_cast<double>(found.size());
        const double recall =
            static_cast<double>(score.Matched) / static_cast<double>(track.Onsets.size());
        score.FMeasure = 2.0 * precision * recall / (precision + recall);
        score.MeanErrorMs = errorSum / static_cast<double>(score.Matched);
    }
    return score;
}

}  // namespace lumavox::testing
