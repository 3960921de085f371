#include "editor/logic/BeatMarks.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "editor/logic/TimeLine.h"
#include "model/ColourEval.h"
#include "model/StepOps.h"
#include "model/StepTestUtil.h"

namespace lumavox {
namespace {

using ::testing::ElementsAre;
using testing::Put;
using testing::Times;

TEST(BeatMarks, SnapTakesTheNearestMarkOfEitherListWithinThePixelRadius) {
    const std::vector<int32_t> onsets = {1000, 1210, 5000};
    const std::vector<int32_t> beats = {1200, 2000};
    struct Row {
        int32_t t;
        double ppm;
        std::optional<int32_t> want;
    };
    for (const Row& r : {
             Row{1020, 0.25, 1000},          // 20 ms = 5 px
             Row{1032, 0.25, 1000},          // exactly 8 px
             Row{1033, 0.25, std::nullopt},  // 8.25 px
             Row{1033, 0.025, 1000},         // zoomed out, the same distance is under a pixel
             Row{1206, 0.25, 1210},          // the onset is nearer than the beat
             Row{1204, 0.25, 1200},          // the beat is nearer than the onset
             Row{1205, 0.25, 1200},          // equally near: the earlier
             Row{1500, 0.025, 1210},         // 7.25 px
             Row{-100, 0.025, std::nullopt},
             Row{6000, 4.0, std::nullopt},
         }) {
        EXPECT_EQ(NearestMark(r.t, onsets, beats, r.ppm, BeatMarks::kSnapRadiusPx), r.want)
            << r.t << " at " << r.ppm;
    }
    EXPECT_EQ(NearestMark(1010, {}, {}, 0.25, 8), std::nullopt);
    EXPECT_EQ(NearestMark(1990, {}, beats, 0.25, 8), 2000);
    EXPECT_EQ(NearestMark(2147483647, onsets, beats, 1e9, 8), std::nullopt);

    // Off, or with nothing analysed yet, a time stays where it is.
    BeatMarks marks;
    marks.SetSnap(true);
    EXPECT_EQ(marks.Snapped(1020, 0.25), 1020);
    marks.Take("a.wav", BeatAnalysis{onsets, beats, 120.0});
    EXPECT_EQ(marks.Snapped(1020, 0.25), 1000);
    marks.SetSnap(false);
    EXPECT_EQ(marks.Snapped(1020, 0.25), 1020);
}

TEST(BeatMarks, TicksFallOnTheStepColumnsOnceEachAndOnlyInsideTheVisibleColumns) {
    TimeLine tl;
    // Pre-roll 2 s at 0.025 px/ms: time 0 is column 50.
    tl.Layout({0, 2000, 2000, 6000, 2000 + 60000 + 2000, 800});
    const std::vector<int32_t> times = {0, 10, 39, 40, 500, 20000, 60000};
    EXPECT_THAT(MarkColumns(times, tl, 0, 800), ElementsAre(50, 51, 62, 550));
    EXPECT_THAT(MarkColumns(times, tl, 51, 550), ElementsAre(51, 62));
}

// Within one unit per channel and of brightness: a fade between two steps rounds once per step.
bool Near(const LineColour& a, const LineColour& b) {
    for (int shift = 0; shift < 24; shift += 8) {
        if (std::abs(((a.Colour >> shift) & 0xFF) - ((b.Colour >> shift) & 0xFF)) > 1) return false;
    }
    return std::abs(a.Brightness - b.Brightness) <= 1;
}

class BeatCommands : public ::testing::Test {
protected:
    void SetUp() override {
        project.CurrentLine = 2;
        Put(project, 2, 0, false, 0, 0x0000FF);
        Put(project, 2, 1000, true, 100, 0x00FF00);
        Put(project, 2, 2000, false, 0, 0x00FF00);
        Put(project, 2, 3010, true, 200, 0xFF0000);
        Put(project, 5, 1500, true);
        Normalise(project);
    }
    ProjectData project;
};

TEST_F(BeatCommands, BeatStepsFillTheSelectionRangeInOneUndoStateKeepingTheLook) {
    const std::vector<int32_t> beats = {500, 1000, 1500, 2000, 2500, 3000, 3500};
    std::vector<LineColour> before;
    for (int32_t t = 900; t <= 3100; t += 50) before.push_back(LineColourAt(project, 2, t));
    EXPECT_EQ(AddStepsAtBeats(project, beats), 3);  // 1000 and 2000 hold a step already
    EXPECT_THAT(Times(project, 2), ElementsAre(0, 1000, 1500, 2000, 2500, 3000, 3010));
    EXPECT_THAT(Times(project, 5), ElementsAre(1500));
    EXPECT_EQ(project.UndoList.Count(), 1);
    EXPECT_TRUE(project.Modified);
    for (int32_t t = 900, i = 0; t <= 3100; t += 50, ++i) {
        const LineColour after = LineColourAt(project, 2, t);
        EXPECT_TRUE(Near(after, before[static_cast<size_t>(i)])) << t;
    }
    // Undo gives the line back in one step.
    Undo(project);
    EXPECT_THAT(Times(project, 2), ElementsAre(0, 1000, 2000, 3010));

    // Nothing new to add, or no range (one selected step): no undo state either.
    project.UndoList.Clear();
    EXPECT_EQ(AddStepsAtBeats(project, std::vector<int32_t>{1000, 2000}), 0);
    SetStepSelected(project, 2, StepAt(project, 1), false);
    EXPECT_EQ(AddStepsAtBeats(project, beats), 0);
    EXPECT_EQ(project.UndoList.Count(), 0);
}

TEST_F(BeatCommands, EachBeatSelectsTheStepNearestItWhenItIsThatStepsNearestBeat) {
    // 0 ↔ 20, 1000 ↔ 990; 2000 is nearest to the beat at 2040, whose nearest step it is;
    // 3010's nearest beat 2040 prefers 2000; the beat at 5000 has 3010 nearest, but not back.
    const std::vector<int32_t> beats = {20, 990, 2040, 5000};
    EXPECT_EQ(SelectStepsNearestBeats(project, beats), 3);
    std::vector<int32_t> selected;
    for (const Step* s : project.Lines[2].ItemsUnlocked()) {
        if (s->Selected != 0) selected.push_back(s->Time);
    }
    EXPECT_THAT(selected, ElementsAre(0, 1000, 2000));
    EXPECT_EQ(project.Lines[5].At(0).Selected, 1);  // other lines keep theirs
    EXPECT_EQ(project.UndoList.Count(), 0);
    EXPECT_EQ(SelectStepsNearestBeats(project, {}), 0);
    EXPECT_EQ(SelectedCountInLine(project), 0);
}

}  // namespace
}  // namespace lumavox
