#include "model/ColourEval.h"

#include <gtest/gtest.h>

#include <climits>
#include <random>

#include "model/ProjectData.h"

namespace lumavox {
namespace {

Step MakeStep(int line, int32_t time, int32_t colour, int32_t brightness = 0, int32_t length = 0) {
    Step s;
    s.LineIndex = line;
    s.Time = time;
    s.Colour = colour;
    s.Brightness = brightness;
    s.Length = length;
    return s;
}

// Lengths as the editor keeps them: the gap to the next step, 0 for the last.
std::vector<Step> WithLengths(std::vector<Step> steps) {
    for (size_t i = 0; i < steps.size(); ++i) {
        steps[i].Length = i + 1 < steps.size() ? steps[i + 1].Time - steps[i].Time : 0;
    }
    return steps;
}

TEST(ColourEval, EmptyLineOutOfRangeLinesAndTimesBeforeTheFirstStepHaveNoColour) {
    ProjectData project;
    EXPECT_EQ(LineColourAt(project, 0, 0).Colour, NoColour);
    project.Lines[2].Assign({MakeStep(2, 100, 0x0000FF)});
    EXPECT_EQ(LineColourAt(project, 2, 99).Colour, NoColour);
    EXPECT_EQ(LineColourAt(project, -1, 100).Colour, NoColour);
    EXPECT_EQ(LineColourAt(project, 8, 100).Colour, NoColour);
    EXPECT_EQ(LineOutputColourAt(project, 2, 99), 0);
    EXPECT_EQ(LineOutputColourAt(project, 2, 100), 0x0000FF);
}

TEST(ColourEval, FadesRedToBlueWithTruncationTowardZero) {
    ProjectData project;
    project.Lines[0].Assign(WithLengths({MakeStep(0, 0, 0x0000FF), MakeStep(0, 1000, 0xFF0000)}));
    EXPECT_EQ(LineColourAt(project, 0, 0).Colour, 0x0000FF);
    EXPECT_EQ(LineColourAt(project, 0, 500).Colour, 0x7F007F);
    EXPECT_EQ(LineColourAt(project, 0, 999).Colour, 0xFE0000);
    EXPECT_EQ(LineColourAt(project, 0, 1000).Colour, 0xFF0000);
    EXPECT_EQ(LineColourAt(project, 0, INT32_MAX).Colour, 0xFF0000);
}

TEST(ColourEval, BrightnessFadeTruncatesTowardZeroAndLastStepIsReturnedAsStored) {
    ProjectData project;
    project.Lines[1].Assign(
        WithLengths({MakeStep(1, 0, 0x123456, -100), MakeStep(1, 1000, 0x123456, 0),
                     MakeStep(1, 2000, 0x00000A, 300)}));
    EXPECT_EQ(LineColourAt(project, 1, 333).Brightness, -66);
    const LineColour last = LineColourAt(project, 1, 5000);
    EXPECT_EQ(last.Colour, 0x00000A);
    EXPECT_EQ(last.Brightness, 300);  // stored value, even out of range
}

TEST(ColourEval, EqualTimesTakeTheLaterListedStepAndInconsistentLengthsJumpToNext) {
    ProjectData project;
    // twin steps at 100: the first has Length 0 toward its twin
    project.Lines[0].Assign(WithLengths({MakeStep(0, 0, 0x000001), MakeStep(0, 100, 0x000002),
                                         MakeStep(0, 100, 0x000003), MakeStep(0, 200, 0x000005)}));
    EXPECT_EQ(LineColourAt(project, 0, 100).Colour, 0x000003);
    EXPECT_EQ(LineColourAt(project, 0, 150).Colour, 0x000004);
    // Length 0 between two distinct times: no division, the next step's values
    project.Lines[3].Assign({MakeStep(3, 0, 0x0000FF, 5, 0), MakeStep(3, 1000, 0x00FF00, 7, 0)});
    const LineColour jump = LineColourAt(project, 3, 10);
    EXPECT_EQ(jump.Colour, 0x00FF00);
    EXPECT_EQ(jump.Brightness, 7);
}

TEST(ColourEval, ExtremeTimesAndLengthsDoNotOverflow) {
    ProjectData project;
    project.Lines[0].Assign({MakeStep(0, INT32_MIN, 0x0000FF, -255, INT32_MAX),
                             MakeStep(0, INT32_MAX, 0xFF0000, 255, INT32_MAX)});
    const LineColour mid = LineColourAt(project, 0, 0);
    // INT32_MIN + INT32_MAX = -1 < 0, so t = 0 lies past the fade: next's values
    EXPECT_EQ(mid.Colour, 0xFF0000);
    const LineColour early = LineColourAt(project, 0, INT32_MIN + 1000);
    EXPECT_EQ(early.Colour & 0xFF, 254);
    EXPECT_EQ(LineColourAt(project, 0, INT32_MAX).Colour, 0xFF0000);
}

TEST(ApplyBrightness, IntegerArithmeticMultipliesBeforeDividing) {
    EXPECT_EQ(ApplyBrightness(0x000000, 255), 0xFFFFFF);
    EXPECT_EQ(ApplyBrightness(0xFFFFFF, -255), 0);
    EXPECT_EQ(ApplyBrightness(0x0080FF, 0), 0x0080FF);
    EXPECT_EQ(ApplyBrightness(0x000064, 128) & 0xFF, 177);
    EXPECT_EQ(ApplyBrightness(0x0000C8, -100) & 0xFF, 121);
    EXPECT_EQ(ApplyBrightness(NoColour, 255), 0);
}

TEST(ApplyBrightness, OutOfRangeBrightnessFromDamagedFilesStaysInsideEachChannel) {
    EXPECT_EQ(ApplyBrightness(0x808080, 1000), 0xFFFFFF);
    EXPECT_EQ(ApplyBrightness(0x808080, -1000), 0);
    EXPECT_EQ(ApplyBrightness(0x808080, INT32_MAX), 0xFFFFFF);
    EXPECT_EQ(ApplyBrightness(0x808080, INT32_MIN), 0);
    EXPECT_EQ(ApplyBrightness(0x7F123456, 0), 0x123456);  // stray high bits never reach the output
}

// The binary search must give exactly what the walk from the start gives, on sorted lines with
// duplicate times and lengths that may or may not match the next step.
TEST(ColourEval, FastSearchMatchesTheWalkOnRandomLines) {
    std::mt19937 rng(12345);
    for (int round = 0; round < 300; ++round) {
        const int count = std::uniform_int_distribution<int>(0, 40)(rng);
        std::vector<Step> steps;
        int32_t t = std::uniform_int_distribution<int32_t>(-5000, 5000)(rng);
        for (int i = 0; i < count; ++i) {
            t += std::uniform_int_distribution<int32_t>(0, 3)(rng) == 0
                     ? 0
                     : std::uniform_int_distribution<int32_t>(1, 500)(rng);
            steps.push_back(MakeStep(0, t, static_cast<int32_t>(rng() & 0xFFFFFF),
                                     std::uniform_int_distribution<int32_t>(-255, 255)(rng)));
        }
        steps = WithLengths(steps);
        if (round % 3 == 0) {
            for (Step& s : steps) s.Length = std::uniform_int_distribution<int32_t>(-10, 600)(rng);
        }
        TStepList list;
        list.Assign(steps);
        list.Read([&](TStepList::View items, bool sorted) {
            ASSERT_TRUE(sorted);
            for (int32_t q = -6000; q < t + 600; q += 7) {
                const LineColour fast = LineColourAt(items, sorted, q);
                const LineColour walk = LineColourAtByWalk(items, q);
                ASSERT_EQ(fast.Colour, walk.Colour) << "t=" << q;
                ASSERT_EQ(fast.Brightness, walk.Brightness) << "t=" << q;
            }
        });
    }
}

TEST(ColourEval, UnsortedListsAreWalked) {
    TStepList list;
    list.Assign({MakeStep(0, 100, 0x000001), MakeStep(0, 50, 0x000002), MakeStep(0, 300, 3)});
    EXPECT_FALSE(list.SortedUnlocked());
    list.Read([](TStepList::View items, bool sorted) {
        // the walk stops at the first step after t, here the first one
        EXPECT_EQ(LineColourAt(items, sorted, 60).Colour, NoColour);
        // prev is the step at 50 (Length 0), so the next step's colour comes back
        EXPECT_EQ(LineColourAt(items, sorted, 200).Colour, 3);
    });
}

}  // namespace
}  // namespace lumavox
