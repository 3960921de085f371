#include "model/StepOps.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "StepTestUtil.h"

namespace lumavox {
namespace {

using ::testing::ElementsAre;
using testing::LinesImage;
using testing::Put;
using testing::Times;

constexpr TimeLimits kWide{100000, 100000, 1000000};

TEST(StepOperations, AddAfterTheEndOfTheLine) {
    ProjectData project;
    project.CurrentLine = 2;
    EXPECT_EQ(AddStep(project, 0x0000FF, 0, 0, 0, false, StepPlacement::AfterLineEnd), 1);
    EXPECT_THAT(Times(project, 2), ElementsAre(0));

    ClearLine(project, 2);
    Put(project, 2, 1000);
    Put(project, 2, 4000);
    Normalise(project);
    EXPECT_EQ(AddStep(project, 0x0000FF, 0, 0, 0, false, StepPlacement::AfterLineEnd), 3);
    EXPECT_THAT(Times(project, 2), ElementsAre(1000, 4000, 4000));

    // -1 ms is an ordinary time (a cursor in the pre-roll), not "after the end".
    EXPECT_EQ(AddStep(project, 0x0000FF, 0, -1, 0, false), 4);
    EXPECT_THAT(Times(project, 2), ElementsAre(-1, 1000, 4000, 4000));
    EXPECT_TRUE(project.Modified);
    EXPECT_EQ(project.UndoList.Count(), 0);
}

TEST(StepOperations, AddedStepIsZeroButForItsFieldsAndSortedIn) {
    ProjectData project;
    project.CurrentLine = 5;
    Put(project, 5, 3000);
    AddStep(project, 0x123456, -40, 1000, 77, true);
    EXPECT_EQ(project.UndoList.Count(), 1);
    const Step* s = StepAt(project, 0);
    ASSERT_NE(s, nullptr);
    Step expected;
    expected.LineIndex = 5;
    expected.Time = 1000;
    expected.Length = 2000;  // Normalise replaces the given length by the distance to the next step
    expected.Colour = 0x123456;
    expected.Brightness = -40;
    EXPECT_EQ(std::memcmp(s, &expected, sizeof(Step)), 0);
    EXPECT_EQ(StepAt(project, 1)->Length, 0);
    EXPECT_EQ(StepAt(project, 2), nullptr);
    EXPECT_EQ(StepAt(project, -1), nullptr);
}

TEST(StepOperations, TwinStepsBothStayAndTheFirstGetsLengthZero) {
    ProjectData project;
    Put(project, 0, 500);
    Put(project, 0, 100);
    Put(project, 0, 500);
    Normalise(project);
    const auto& items = project.Lines[0].ItemsUnlocked();
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0]->Time, 100);
    EXPECT_EQ(items[0]->Length, 400);
    EXPECT_EQ(items[1]->Length, 0);
    EXPECT_EQ(items[2]->Length, 0);
}

TEST(StepOperations, FiftyOneStatesKeepTheFiftyNewest) {
    ProjectData project;
    std::vector<std::vector<uint8_t>> before;  // image before operation i
    for (int i = 0; i < 51; ++i) {
        before.push_back(LinesImage(project));
        AddStep(project, i, 0, i * 10, 0, true);
    }
    EXPECT_EQ(project.UndoList.Count(), 50);
    for (int i = 0; i < 50; ++i) Undo(project);
    EXPECT_EQ(project.UndoList.Count(), 0);
    EXPECT_EQ(LinesImage(project), before[1]);  // the state before the second operation
    EXPECT_EQ(project.Lines[0].Count(), 1);
    Undo(project);  // nothing left: nothing happens
    EXPECT_EQ(LinesImage(project), before[1]);
}

TEST(StepOperations, UndoAfterClearingALineRestoresEveryByteAndSetsModified) {
    ProjectData project;
    Put(project, 0, 100, true, 30);
    project.Lines[0].Edit([](TStepList::Items& items) {
        items.back()->MarkX = 5;
        items.back()->Reserved[3] = 9;
    });
    Put(project, 0, 200, false);
    Put(project, 1, 300, true);
    Normalise(project);
    const auto image = LinesImage(project);
    ClearCurrentLine(project);
    EXPECT_TRUE(project.Lines[0].Empty());
    EXPECT_TRUE(project.Modified);
    project.Modified = false;  // as after an automatic backup, which keeps the undo list
    Undo(project);
    EXPECT_EQ(LinesImage(project), image);
    EXPECT_TRUE(project.Modified);  // the undone state is not on disk: closing must ask
    project.Modified = false;
    Undo(project);  // nothing left to restore
    EXPECT_FALSE(project.Modified);
}

TEST(StepOperations, DeletesRemoveOnlySelectedStepsAndNothingWithoutASelection) {
    ProjectData project;
    Put(project, 0, 100, true);
    Put(project, 0, 200);
    Put(project, 0, 300, true);
    Put(project, 3, 50, true);
    Normalise(project);

    EXPECT_EQ(DeleteSelectedInLine(project), 2);
    EXPECT_THAT(Times(project, 0), ElementsAre(200));
    EXPECT_EQ(project.Lines[0].At(0).Length, 0);
    EXPECT_EQ(project.Lines[3].Count(), 1);
    EXPECT_EQ(project.UndoList.Count(), 1);

    EXPECT_EQ(DeleteSelectedInLine(project), 0);
    EXPECT_EQ(project.UndoList.Count(), 1);
    EXPECT_EQ(DeleteSelected(project), 1);
    EXPECT_TRUE(project.Lines[3].Empty());
    project.Modified = false;
    EXPECT_EQ(DeleteSelected(project), 0);
    EXPECT_EQ(project.UndoList.Count(), 2);
    EXPECT_FALSE(project.Modified);
}

TEST(StepOperations, CutWithNothingSelectedKeepsTheClipboard) {
    ProjectData project;
    Put(project, 0, 100, true);
    Put(project, 0, 200);
    ASSERT_EQ(CopyLine(project, false), 1);
    EXPECT_EQ(project.LineClipboard.At(0).Selected, 0);
    EXPECT_EQ(project.Lines[0].At(0).Selected, 1);  // copying leaves the line alone
    EXPECT_FALSE(project.Modified);
    SetSelection(project, 0, true);
    EXPECT_EQ(CopyLine(project, true), 0);
    EXPECT_EQ(project.Lines[0].Count(), 2);
    ASSERT_EQ(project.LineClipboard.Count(), 1);
    EXPECT_EQ(project.LineClipboard.At(0).Time, 100);
    EXPECT_EQ(project.UndoList.Count(), 0);
}

TEST(StepOperations, CutLineCopiesThenDeletesWithOneUndoState) {
    ProjectData project;
    Put(project, 0, 100, true);
    Put(project, 0, 200);
    Normalise(project);
    const auto image = LinesImage(project);
    EXPECT_EQ(CopyLine(project, true), 1);
    EXPECT_THAT(Times(project, 0), ElementsAre(200));
    EXPECT_EQ(project.UndoList.Count(), 1);
    Undo(project);
    EXPECT_EQ(LinesImage(project), image);
}

TEST(StepOperations, PastingTheLineClipboardTwiceDoublesEveryStep) {
    ProjectData project;
    Put(project, 0, 1000, true);
    Put(project, 0, 1300, true);
    Normalise(project);
    CopyLine(project, false);
    project.CurrentLine = 4;
    EXPECT_EQ(PasteLine(project, 5000), 2);
    EXPECT_EQ(PasteLine(project, 5000), 2);
    EXPECT_THAT(Times(project, 4), ElementsAre(5000, 5000, 5300, 5300));
    for (const auto& s : project.Lines[4].ItemsUnlocked()) {
        EXPECT_EQ(s->LineIndex, 4);
        EXPECT_EQ(s->Selected, 0);
    }
    EXPECT_EQ(project.UndoList.Count(), 2);
}

TEST(StepOperations, MultiClipboardPastesBackIntoItsOwnLines) {
    ProjectData project;
    Put(project, 2, 700, true);
    Put(project, 5, 400, true);
    Put(project, 5, 900);
    Normalise(project);
    EXPECT_EQ(CopyMulti(project, true), 2);
    EXPECT_THAT(Times(project, 5), ElementsAre(900));
    project.CurrentLine = 7;
    EXPECT_EQ(PasteMulti(project, 10000), 2);
    EXPECT_THAT(Times(project, 2), ElementsAre(10300));
    EXPECT_THAT(Times(project, 5), ElementsAre(900, 10000));
    EXPECT_TRUE(project.Lines[7].Empty());
    // the clipboard was sorted by time and stays so
    EXPECT_EQ(project.MultiLineClipboard.At(0).LineIndex, 5);
}

TEST(StepOperations, EmptyClipboardsPasteNothingAndSaveNoState) {
    ProjectData project;
    EXPECT_EQ(PasteLine(project, 0), 0);
    EXPECT_EQ(PasteMulti(project, 0), 0);
    EXPECT_EQ(project.UndoList.Count(), 0);
    EXPECT_FALSE(project.Modified);
}

struct MoveCase {
    int32_t delta;
    bool noPass;
    int32_t expected;
};

TEST(StepOperations, MoveStopsOneMillisecondShortOfUnselectedNeighbour) {
    for (const MoveCase c :
         {MoveCase{600, false, 1600}, MoveCase{600, true, 1499}, MoveCase{500, false, 1499},
          MoveCase{500, true, 1499}, MoveCase{-1000, false, 0}, MoveCase{-1000, true, 501},
          MoveCase{-500, false, 501}}) {
        ProjectData project;
        Put(project, 1, 500);
        Put(project, 1, 1000, true);
        Put(project, 1, 1500);
        Normalise(project);
        EXPECT_EQ(MoveSelected(project, c.delta, c.noPass, kWide), 1);
        std::vector<int32_t> times = Times(project, 1);
        EXPECT_NE(std::find(times.begin(), times.end(), c.expected), times.end())
            << "delta " << c.delta << " noPass " << c.noPass;
        EXPECT_TRUE(std::is_sorted(times.begin(), times.end()));
    }
}

TEST(StepOperations, MoveSkipsSelectedStepsWhenLookingForTheNeighbour) {
    ProjectData project;
    Put(project, 0, 1000, true);
    Put(project, 0, 1100, true);
    Put(project, 0, 1200);
    Normalise(project);
    MoveSelected(project, 200, true, kWide);
    EXPECT_THAT(Times(project, 0), ElementsAre(1199, 1199, 1200));
}

TEST(StepOperations, MoveIsClampedToTheTimeLine) {
    ProjectData project;
    Put(project, 0, 1000, true);
    Put(project, 1, 9000, true);
    const TimeLimits limits{2000, 1000, 9500};
    MoveSelected(project, -5000, false, limits);
    EXPECT_THAT(Times(project, 0), ElementsAre(-2000));
    MoveSelected(project, 7000, false, limits);
    EXPECT_THAT(Times(project, 0), ElementsAre(5000));
    EXPECT_THAT(Times(project, 1), ElementsAre(10500));
    EXPECT_EQ(MoveSelected(project, 0, false, limits), 0);
}

TEST(StepOperations, ExtremeTimesSaturateInsteadOfOverflowing) {
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
    constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
    ProjectData project;
    Put(project, 0, kMax, true);
    project.Lines[0].Edit([](TStepList::Items& items) { items.back()->Length = kMax; });
    Put(project, 0, kMin, true);
    Normalise(project);
    EXPECT_EQ(project.Lines[0].At(0).Length, kMax);  // kMax - kMin does not fit
    const TimeLimits huge{kMax, kMax, kMax};
    EXPECT_EQ(huge.Max(), kMax);
    EXPECT_EQ(huge.Min(), -kMax);
    MoveSelected(project, kMax, false, huge);
    MoveSelected(project, kMin, false, huge);
    EXPECT_EQ(AddStep(project, 0, 0, 0, 0, false, StepPlacement::AfterLineEnd), 3);
    CopyLine(project, false);
    PasteLine(project, kMax);
    PasteLine(project, kMin);
    StretchSelected(project, 10, huge);
    StretchSelected(project, std::nan(""), huge);
    for (const auto& s : project.Lines[0].ItemsUnlocked()) EXPECT_GE(s->Length, 0);
}

TEST(StepOperations, StretchSelectedAboutTheEarliestStep) {
    ProjectData project;
    Put(project, 1, 1000, true);
    Put(project, 1, 1500, true);
    Put(project, 3, 3000, true);
    Put(project, 3, 2000);  // not selected: stays
    Normalise(project);
    EXPECT_EQ(StretchSelected(project, 2, kWide), 3);
    EXPECT_THAT(Times(project, 1), ElementsAre(1000, 2000));
    EXPECT_THAT(Times(project, 3), ElementsAre(2000, 5000));
    Undo(project);
    StretchSelected(project, -1, kWide);
    EXPECT_THAT(Times(project, 1), ElementsAre(500, 1000));
    EXPECT_THAT(Times(project, 3), ElementsAre(-1000, 2000));
    Undo(project);
    StretchSelected(project, -1, TimeLimits{200, 0, 10000});
    EXPECT_THAT(Times(project, 3), ElementsAre(-200, 2000));
}

TEST(StepOperations, StretchWithNothingSelectedStillSavesAState) {
    ProjectData project;
    Put(project, 0, 1000);
    EXPECT_EQ(StretchSelected(project, 2, kWide), 0);
    EXPECT_EQ(project.UndoList.Count(), 1);
    EXPECT_FALSE(project.Modified);
}

TEST(StepOperations, ScaleBrightnessTruncatesAndLimits) {
    ProjectData project;
    Put(project, 0, 0, true, 100);
    Put(project, 0, 10, true, -90);
    Put(project, 0, 20, false, 100);
    Put(project, 0, 30, true, 7);
    Normalise(project);
    EXPECT_EQ(ScaleBrightness(project, 3), 3);
    const auto& items = project.Lines[0].ItemsUnlocked();
    EXPECT_EQ(items[0]->Brightness, 255);
    EXPECT_EQ(items[1]->Brightness, -255);
    EXPECT_EQ(items[2]->Brightness, 100);
    EXPECT_EQ(items[3]->Brightness, 21);
    Undo(project);
    ScaleBrightness(project, -1);
    EXPECT_EQ(items[0]->Brightness, -100);
    ScaleBrightness(project, 0.5);
    EXPECT_EQ(items[1]->Brightness, 45);
    EXPECT_EQ(items[3]->Brightness, -3);  // -7 * 0.5 = -3.5, truncated toward zero
}

TEST(StepOperations, AlignFollowsLineOrderNotTime) {
    ProjectData project;
    Put(project, 3, 300, true);
    Put(project, 5, 100, true);
    Put(project, 5, 200);
    Normalise(project);
    EXPECT_EQ(AlignSelected(project), 2);
    EXPECT_THAT(Times(project, 3), ElementsAre(300));
    EXPECT_THAT(Times(project, 5), ElementsAre(200, 300));
    EXPECT_EQ(project.Lines[5].At(0).Length, 100);
}

TEST(StepOperations, CopyLineFromReplacesTheDestination) {
    ProjectData project;
    Put(project, 3, 100, true);
    Put(project, 3, 200);
    Normalise(project);
    Put(project, 6, 999);
    EXPECT_EQ(CopyLineFrom(project, 3, 3), 0);
    EXPECT_EQ(CopyLineFrom(project, 0, 6), 0);
    EXPECT_EQ(CopyLineFrom(project, 3, 8), 0);
    EXPECT_EQ(CopyLineFrom(project, -1, 6), 0);
    EXPECT_THAT(Times(project, 6), ElementsAre(999));
    EXPECT_FALSE(project.Modified);

    EXPECT_EQ(CopyLineFrom(project, 3, 6), 2);
    EXPECT_THAT(Times(project, 6), ElementsAre(100, 200));
    EXPECT_EQ(project.Lines[6].At(0).LineIndex, 6);
    EXPECT_EQ(project.Lines[6].At(0).Selected, 1);
    EXPECT_EQ(project.Lines[6].At(0).Length, 100);
    EXPECT_EQ(project.UndoList.Count(), 0);
}

TEST(StepOperations, AnchoredStretchRecomputesFromDragOrigin) {
    ProjectData project;
    Put(project, 0, 0);
    Put(project, 0, 1000, true);
    Put(project, 0, 1500, true);
    Put(project, 0, 1750, true);
    Put(project, 0, 2000, true);
    Normalise(project);
    project.Lines[0].Edit([](TStepList::Items& items) {
        for (auto& s : items) s->DragOrigin = s->Time;
    });
    const Step* a = StepAt(project, 1);
    const Step* b = StepAt(project, 4);
    // drag B from 2000 to 3000, then on to 3001: x follows from the origins, no rounding builds up
    for (const int32_t bTime : {3000, 3001, 3000}) {
        project.Lines[0].Edit([&](TStepList::Items&) { const_cast<Step*>(b)->Time = bTime; });
        const double x =
            (bTime - a->DragOrigin) / static_cast<double>(b->DragOrigin - a->DragOrigin);
        EXPECT_EQ(AnchoredStretch(project, a, b, b, x, kWide), 4);
    }
    EXPECT_THAT(Times(project, 0), ElementsAre(0, 1000, 2000, 2500, 3000));
    // dragging A past B mirrors the steps between them about B's origin
    project.Lines[0].Edit([&](TStepList::Items&) { const_cast<Step*>(a)->Time = 2500; });
    AnchoredStretch(project, a, b, a, -0.5, kWide);
    EXPECT_THAT(Times(project, 0), ElementsAre(0, 2125, 2250, 2500, 3000));
}

TEST(StepOperations, AnchoredStretchWithCoincidentAnchorsOrForeignStepsIsSafe) {
    ProjectData project;
    for (int i = 0; i < 3; ++i) Put(project, 0, 1000, true);
    project.Lines[0].Edit([](TStepList::Items& items) {
        for (auto& s : items) s->DragOrigin = 1000;
    });
    Normalise(project);
    const Step* a = StepAt(project, 0);
    const Step* b = StepAt(project, 2);
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(AnchoredStretch(project, a, b, b, inf, kWide), 3);
    EXPECT_EQ(AnchoredStretch(project, a, b, b, std::nan(""), kWide), 3);
    EXPECT_THAT(Times(project, 0), ElementsAre(1000, 1000, 1000));
    Step stranger;
    EXPECT_EQ(AnchoredStretch(project, a, &stranger, a, 2, kWide), 0);
    EXPECT_EQ(AnchoredStretch(project, nullptr, b, b, 2, kWide), 0);
}

TEST(StepOperations, SelectRangeSelectsOnlyInsideTheLine) {
    ProjectData project;
    for (int i = 0; i < 5; ++i) Put(project, 0, i * 100, i == 0);
    Normalise(project);
    auto selected = [&] {
        std::vector<int> out;
        for (int i = 0; i < 5; ++i) out.push_back(StepAt(project, i)->Selected);
        return out;
    };
    SelectRange(project, 3, 1);
    EXPECT_THAT(selected(), ElementsAre(0, 1, 1, 1, 0));
    SelectRange(project, -1, 4);
    EXPECT_THAT(selected(), ElementsAre(0, 0, 0, 0, 1));
    SelectRange(project, 2, 5);  // 5 is past the end: nothing selected
    EXPECT_THAT(selected(), ElementsAre(0, 0, 0, 0, 0));
    SelectRange(project, -7, 1);
    EXPECT_THAT(selected(), ElementsAre(1, 1, 0, 0, 0));
    SelectRange(project, 2, -1);
    EXPECT_THAT(selected(), ElementsAre(0, 0, 0, 0, 0));
    SetSelection(project, 1, false);
    EXPECT_EQ(SelectedCountInLine(project), 5);
    EXPECT_FALSE(project.Modified);
}

TEST(StepOperations, InvalidCurrentLineTouchesNothing) {
    ProjectData project;
    Put(project, 0, 10, true);
    project.CurrentLine = 8;
    EXPECT_EQ(AddStep(project, 0, 0, 0, 0, true), 0);
    EXPECT_EQ(DeleteSelectedInLine(project), 0);
    EXPECT_EQ(CopyLine(project, true), 0);
    EXPECT_EQ(StepAt(project, 0), nullptr);
    ClearCurrentLine(project);
    SelectRange(project, 0, 0);
    EXPECT_EQ(project.Lines[0].Count(), 1);
    EXPECT_EQ(project.UndoList.Count(), 0);
    EXPECT_FALSE(project.Modified);
}

}  // namespace
}  // namespace lumavox
