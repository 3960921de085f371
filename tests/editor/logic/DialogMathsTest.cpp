#include "editor/logic/DialogMaths.h"
#include "editor/logic/EditTexts.h"

#include <gtest/gtest.h>

#include <limits>

namespace lumavox {
namespace {

TEST(StepTimeFields, SplitShowsTheAbsoluteTimeAndRemembersTheSign) {
    TimeFields f = SplitTime(3723450);
    EXPECT_EQ(f.Hours, 1);
    EXPECT_EQ(f.Minutes, 2);
    EXPECT_EQ(f.Seconds, 3);
    EXPECT_EQ(f.Hundredths, 45);
    EXPECT_FALSE(f.Negative);

    f = SplitTime(-1500);
    EXPECT_EQ(f.Hours, 0);
    EXPECT_EQ(f.Seconds, 1);
    EXPECT_EQ(f.Hundredths, 50);
    EXPECT_EQ(ComposeTime(f), -1500);  // a pre-roll step stays in the pre-roll

    f = SplitTime(std::numeric_limits<int32_t>::min());  // |t| does not fit an int32
    EXPECT_EQ(f.Hours, 596);                             // more than 23 hours show as they are
    EXPECT_EQ(SplitTime(1234).Hundredths, 23);
    EXPECT_EQ(ComposeTime(SplitTime(1234)), 1230);
}

TEST(StepTimeFields, TypedValuesAreNotLimitedButMustFitTheTimeType) {
    TimeFields f;
    f.Minutes = ReadDigits("75");
    EXPECT_EQ(ComposeTime(f), 4500000);
    f = TimeFields{};
    f.Hours = 596;
    EXPECT_EQ(ComposeTime(f), 2145600000);
    f.Hours = 597;
    EXPECT_EQ(ComposeTime(f), std::nullopt);
    f.Hours = ReadDigits("999999999999999999999999");
    EXPECT_EQ(ComposeTime(f), std::nullopt);
    EXPECT_EQ(ReadDigits(""), 0);
    EXPECT_EQ(ReadDigits("-5"), 0);
    EXPECT_EQ(ReadDigits("1a"), 0);
}

TEST(ColourEdits, OnlyTheLowByteOfEachDigitValueCounts) {
    EXPECT_EQ(RgbFromEdits("255", "0", "0"), 0x0000FF);
    EXPECT_EQ(RgbFromEdits("256", "300", "abc"), 44 << 8);
    // A minus sign is not a number here: never a colour with the high bits set.
    EXPECT_EQ(RgbFromEdits("-1", "-1", "-1"), 0);
    EXPECT_EQ(RgbFromEdits("99999999999999999999", "1", "2") & ~0xFFFFFF, 0);
}

TEST(PaletteColours, HueRunsAcrossAndFadesTowardGreyDownwards) {
    EXPECT_EQ(PaletteColour(0, 0, 48, 48), 0x0000FF);
    EXPECT_EQ(PaletteColour(64, 0, 320, 320), 0x00FFFF);  // (255, 255, 0)
    EXPECT_EQ(PaletteColour(65, 0, 320, 320), 0x00FFFC);  // (252, 255, 0)
    const int32_t bottom = PaletteColour(0, 47, 48, 48);
    EXPECT_EQ(bottom, 130 | 125 << 8 | 125 << 16);  // y = 47/48: never quite grey
}

TEST(UserPalette, ImageKeepsItsAspectAtTheTopLeft) {
    EXPECT_EQ(UserPaletteRect(200, 100, 320, 320).Width, 320);
    EXPECT_EQ(UserPaletteRect(200, 100, 320, 320).Height, 160);
    EXPECT_EQ(UserPaletteRect(100, 300, 240, 240).Width, 80);
    EXPECT_EQ(UserPaletteRect(100, 300, 240, 240).Height, 240);
    EXPECT_EQ(UserPaletteRect(50, 50, 400, 400).Height, 400);
    EXPECT_EQ(UserPaletteRect(0, 50, 400, 400).Width, 0);
}

TEST(InputBoxes, LineNumbersAndFactorsParseStrictly) {
    EXPECT_EQ(ReadLineNumber("3"), 3);
    EXPECT_EQ(ReadLineNumber(" 8 "), 8);
    EXPECT_EQ(ReadLineNumber("abc"), -1);
    EXPECT_EQ(ReadLineNumber("2.5"), -1);
    EXPECT_EQ(ReadLineNumber(""), -1);
    EXPECT_EQ(ReadStretchFactor(""), std::nullopt);
    EXPECT_EQ(ReadStretchFactor("-1"), -1.0);
    EXPECT_EQ(ReadStretchFactor("1.5"), 1.5);
    EXPECT_EQ(ReadStretchFactor("1,5"), 99.0);  // the C locale's decimal point only
    EXPECT_EQ(ReadStretchFactor("x"), 99.0);
    EXPECT_EQ(ReadStretchFactor("inf"), 99.0);
}

TEST(InputBoxes, NewStepTimeIsTheCursorPixelConvertedBack) {
    EXPECT_EQ(PixelGridTime(250, 0.025, 10000), 0);
    EXPECT_EQ(PixelGridTime(249, 0.025, 10000), -40);
    EXPECT_EQ(PixelGridTime(7, 0.5, 0), 14);
    EXPECT_EQ(PixelGridTime(7, 0.4, 0), 17);  // 17.5 ms truncates
    EXPECT_EQ(PixelGridTime(100, 0.0, 5000), -5000);
}

TEST(EditTexts, LabelsAndStatusTexts) {
    EXPECT_EQ(ComponentText('R', 0), "R  0");
    EXPECT_EQ(ComponentText('B', 255), "B255");
    EXPECT_EQ(ComponentText('G', -1), "---");
    EXPECT_EQ(BrightnessStatusText(0), "明暗=   0");
    EXPECT_EQ(BrightnessStatusText(-255), "明暗=-255");
}

}  // namespace
}  // namespace lumavox
