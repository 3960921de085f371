#include "cli/CalibrationShow.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "cli/DemoShow.h"

namespace lumavox::cli {

std::vector<uint8_t> CalibrationWavBytes(int seconds) {
    const int clamped = std::clamp(seconds, 0, kMaxCalibrationSeconds);
    const uint32_t frameCount = kDemoSampleRate * static_cast<uint32_t>(clamped);
    std::vector<uint8_t> bytes = StereoWavHeader(frameCount);
    constexpr uint32_t kClickFrames = kDemoSampleRate / 100;  // 10 ms
    for (uint32_t n = 0; n < frameCount; ++n) {
        const uint32_t second = n / kDemoSampleRate;
        const uint32_t since = n % kDemoSampleRate;
        int16_t v = 0;
        if (second >= 1 && since < kClickFrames) {
            // A cosine starts at its peak: the click's first sample is its loudest.
            const double t = static_cast<double>(since) / kDemoSampleRate;
            v = static_cast<int16_t>(30000.0 * std::cos(2.0 * std::numbers::pi * 2000.0 * t));
        }
        PutStereoSample(bytes, v, v);
    }
    return bytes;
}

void BuildCalibrationSteps(ProjectData& project, int seconds) {
    constexpr int32_t kWhite = 0xFFFFFF;
    for (int line = 0; line < kLineCount; ++line) {
        std::vector<Step> steps;
        auto add = [&](int32_t time, int32_t colour) {
            Step s;
            s.LineIndex = line;
            s.Time = time;
            s.Colour = colour;
            steps.push_back(s);
        };
        add(-kCalibrationPreMs, 0);
        // Each change is a 1 ms fade from a step holding the colour before it, so the colour
        // jumps between two milliseconds.
        for (int32_t second = 1; second < seconds; ++second) {
            const int32_t t = second * 1000;
            add(t - 1, 0);
            add(t, kWhite);
            add(t + kCalibrationFlashMs - 1, kWhite);
            add(t + kCalibrationFlashMs, 0);
        }
        for (size_t i = 0; i < steps.size(); ++i) {
            steps[i].Length = i + 1 < steps.size() ? steps[i + 1].Time - steps[i].Time : 0;
        }
        project.Lines[static_cast<size_t>(line)].Assign(std::move(steps));
    }
    project.Header.PrePlayTime = kCalibrationPreMs;
    project.Header.PostPlayTime = kCalibrationPostMs;
}

}  // namespace lumavox::cli
