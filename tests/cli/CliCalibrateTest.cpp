#include <gtest/gtest.h>

#include <vector>

#include "cli/CalibrationShow.h"
#include "cli/DemoShow.h"
#include "model/ColourEval.h"

namespace lumavox::cli {
namespace {

// The flashes start on the clicks to the millisecond and the clicks start on their sample: the
// show is only a measure when both are exact.
TEST(CalibrationShow, FlashAndClickStartTogetherOnEverySecond) {
    constexpr int kSeconds = 4;
    ProjectData project;
    BuildCalibrationSteps(project, kSeconds);
    const std::vector<uint8_t> wav = CalibrationWavBytes(kSeconds);
    ASSERT_EQ(wav.size(), 44u + kSeconds * kDemoSampleRate * 4u);
    const auto sample = [&](size_t frame) {
        const size_t at = 44 + frame * 4;
        return static_cast<int16_t>(wav[at] | wav[at + 1] << 8);
    };
    for (int32_t second = 1; second < kSeconds; ++second) {
        const int32_t t = second * 1000;
        for (int line = 0; line < kLineCount; ++line) {
            EXPECT_EQ(LineOutputColourAt(project, line, t - 1), 0) << t;
            EXPECT_EQ(LineOutputColourAt(project, line, t), 0xFFFFFF) << t;
            EXPECT_EQ(LineOutputColourAt(project, line, t + kCalibrationFlashMs - 1), 0xFFFFFF);
            EXPECT_EQ(LineOutputColourAt(project, line, t + kCalibrationFlashMs), 0) << t;
        }
        const size_t click = static_cast<size_t>(second) * kDemoSampleRate;
        EXPECT_EQ(sample(click - 1), 0) << t;
        EXPECT_GT(sample(click), 20000) << t;
    }
    EXPECT_EQ(sample(kDemoSampleRate / 2), 0);  // silence between the clicks
}

}  // namespace
}  // namespace lumavox::cli
