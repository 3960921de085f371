#include "editor/logic/HueChartPoint.h"

#include <gtest/gtest.h>

#include "model/ColourEval.h"

namespace lumavox {
namespace {

TEST(HueChartPoint, SquareHalfSizeFollowsTheShorterSideWithinFourToEight) {
    EXPECT_EQ(HueChartSquareHalf(451, 281), 5);
    EXPECT_EQ(HueChartSquareHalf(100, 100), 4);
    EXPECT_EQ(HueChartSquareHalf(1000, 1000), 8);
    EXPECT_EQ(HueChartSquareHalf(1000, 349), 6);
    EXPECT_EQ(HueChartSquareHalf(0, 0), 4);
}

// 451 × 281: a = 5, plot 431 × 261 from (10, 10), middle line at 140.
TEST(HueChartPoint, ColoursLandWhereHueSaturationAndBrightnessPutThem) {
    const auto red = HueChartPoint(MakeColour(255, 0, 0), 0, HueChartMode::HueSaturation, 451, 281);
    EXPECT_EQ(red.X, 10);  // left edge of the plot
    EXPECT_EQ(red.Y, 10);  // saturated: top
    EXPECT_EQ(red.Colour, MakeColour(255, 0, 0));

    const auto blue =
        HueChartPoint(MakeColour(0, 0, 255), 0, HueChartMode::HueSaturation, 451, 281);
    EXPECT_EQ(blue.X, 297);  // trunc(240 / 360 * 431 + 10), two thirds

    const auto grey =
        HueChartPoint(MakeColour(128, 128, 128), 0, HueChartMode::HueSaturation, 451, 281);
    EXPECT_EQ(grey.X, 226);  // trunc(128 / 255 * 431 + 10)
    EXPECT_EQ(grey.Y, 271);  // saturation 0: bottom of the plot

    // magenta-ish red (hue just under 360) sits near the right, never past it
    const auto pink =
        HueChartPoint(MakeColour(255, 0, 1), 0, HueChartMode::HueSaturation, 451, 281);
    EXPECT_EQ(pink.X, 440);
}

TEST(HueChartPoint, BrightnessChartPutsZeroOnTheLineAndUsesTheShownColour) {
    const int32_t green = MakeColour(0, 255, 0);
    for (auto [w, h] : {std::pair{451, 281}, {100, 100}, {300, 301}}) {
        EXPECT_EQ(HueChartPoint(green, 0, HueChartMode::HueBrightness, w, h).Y, h / 2) << h;
    }
    const auto top = HueChartPoint(green, 255, HueChartMode::HueBrightness, 451, 281);
    EXPECT_EQ(top.Y, 10);
    EXPECT_EQ(top.Colour, ApplyBrightness(green, 255));
    const auto bottom = HueChartPoint(green, -255, HueChartMode::HueBrightness, 451, 281);
    EXPECT_EQ(bottom.Y, 270);
    EXPECT_EQ(bottom.Colour, 0);
    const auto half = HueChartPoint(green, -100, HueChartMode::HueBrightness, 451, 281);
    EXPECT_EQ(half.Y, 190);  // trunc(130 + 100 / 255 * 130 + 10)
    EXPECT_EQ(half.Colour, ApplyBrightness(green, -100));
}

}  // namespace
}  // namespace lumavox
