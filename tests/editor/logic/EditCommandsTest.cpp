#include "editor/logic/EditCommands.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "model/StepTestUtil.h"

namespace lumavox {
namespace {

using ::testing::ElementsAre;
using testing::Put;
using testing::Times;

constexpr TimeLimits kLimits{10000, 10000, 60000};

// Line 1 current with steps at 1000 (red), 3000 (green, brightness 100), 5000; a selected step
// on line 4.
class EditCommands : public ::testing::Test {
protected:
    void SetUp() override {
        project.CurrentLine = 1;
        Put(project, 1, 1000, false, 0, 0x0000FF);
        Put(project, 1, 3000, false, 100, 0x00FF00);
        Put(project, 1, 5000, false, -50, 0xFF0000);
        Put(project, 4, 2000, true);
        Normalise(project);
    }
    const Step& At(int line, int i) { return project.Lines[static_cast<size_t>(line)].At(i); }

    ProjectData project;
    StepCursor cursor;
};

TEST_F(EditCommands, CutClearsTheCursorAndDeselectsEveryLine) {
    project.Lines[1].Edit([](auto& items) { items[0]->Selected = 1; });
    cursor = {2, 0};
    EXPECT_EQ(CutSteps(project, cursor), 1);
    EXPECT_EQ(cursor.CurrentStep, -1);
    EXPECT_EQ(cursor.AnchorStep, -1);
    EXPECT_THAT(Times(project, 1), ElementsAre(3000, 5000));
    EXPECT_EQ(SelectedCount(project), 0);
    EXPECT_EQ(project.UndoList.Count(), 1);
    EXPECT_EQ(project.LineClipboard.Count(), 1);
}

TEST_F(EditCommands, PasteKeepsTheCurrentStepByIdentity) {
    project.Lines[1].Edit([](auto& items) { items[2]->Selected = 1; });
    CopySteps(project);
    EXPECT_EQ(project.UndoList.Count(), 0);
    cursor.CurrentStep = 1;  // the step at 3000
    PasteSteps(project, cursor, 0);
    EXPECT_THAT(Times(project, 1), ElementsAre(0, 1000, 3000, 5000));
    EXPECT_EQ(cursor.CurrentStep, 2);
    EXPECT_EQ(At(1, 2).Time, 3000);
}

TEST_F(EditCommands, BlankStepLeavesTheLooksOfTheLineAlone) {
    AddBlankStep(project, cursor, 500);  // before the first: black, 0
    EXPECT_EQ(At(1, 0).Colour, 0);
    EXPECT_EQ(At(1, 0).Brightness, 0);
    AddBlankStep(project, cursor, 9000);  // after the last: its colour and brightness
    EXPECT_EQ(At(1, 4).Colour, 0xFF0000);
    EXPECT_EQ(At(1, 4).Brightness, -50);
    AddBlankStep(project, cursor, 2000);  // halfway between red and green
    EXPECT_EQ(At(1, 2).Time, 2000);
    EXPECT_EQ(At(1, 2).Colour & 0xFF, 0x7F);
    EXPECT_EQ(At(1, 2).Brightness, 50);
    EXPECT_EQ(project.UndoList.Count(), 3);
}

TEST_F(EditCommands, AddingAtMinusOneMillisecondPutsTheStepFirst) {
    cursor.CurrentStep = 0;
    AddColourStep(project, cursor, 0x123456, -1);
    EXPECT_THAT(Times(project, 1), ElementsAre(-1, 1000, 3000, 5000));
    EXPECT_EQ(At(1, 0).Colour, 0x123456);
    EXPECT_EQ(cursor.CurrentStep, 1);
}

TEST_F(EditCommands, RecolourAndRetimeActOnSelectionAndCurrentWithOneUndoState) {
    cursor.CurrentStep = 0;
    EXPECT_TRUE(RecolourSteps(project, cursor, 0x00ABCD));
    EXPECT_EQ(At(1, 0).Colour, 0x00ABCD);
    EXPECT_EQ(At(4, 0).Colour, 0x00ABCD);
    EXPECT_EQ(At(1, 1).Colour, 0x00FF00);
    EXPECT_EQ(project.UndoList.Count(), 1);

    EXPECT_EQ(StepTimeToEdit(project, cursor), 1000);
    EXPECT_FALSE(RetimeSteps(project, cursor, -1500, 60000));
    EXPECT_FALSE(RetimeSteps(project, cursor, 60001, 60000));
    EXPECT_EQ(project.UndoList.Count(), 1);
    EXPECT_TRUE(RetimeSteps(project, cursor, 4000, 60000));
    EXPECT_THAT(Times(project, 1), ElementsAre(3000, 4000, 5000));
    EXPECT_EQ(cursor.CurrentStep, 1);  // followed through the re-sort
    EXPECT_EQ(At(4, 0).Time, 4000);
    EXPECT_EQ(project.UndoList.Count(), 2);

    cursor.CurrentStep = -1;
    EXPECT_EQ(StepTimeToEdit(project, cursor), 4000);  // the earliest selected
    SetSelection(project, 0, true);
    EXPECT_EQ(StepTimeToEdit(project, cursor), std::nullopt);
    EXPECT_FALSE(RecolourSteps(project, cursor, 0));
}

TEST_F(EditCommands, MoveToCursorFollowsTheStep) {
    cursor = {0, 0};
    EXPECT_TRUE(MoveCurrentToCursor(project, cursor, 4000));
    EXPECT_THAT(Times(project, 1), ElementsAre(3000, 4000, 5000));
    EXPECT_EQ(cursor.CurrentStep, 1);
    EXPECT_EQ(cursor.AnchorStep, 1);
    cursor.CurrentStep = 7;  // stale
    EXPECT_FALSE(MoveCurrentToCursor(project, cursor, 0));
    EXPECT_EQ(cursor.CurrentStep, -1);
}

TEST_F(EditCommands, CopyFromLineRefusesBadAnswersWithoutAnUndoState) {
    for (const char* answer : {"0", "9", "abc", ""}) {
        EXPECT_FALSE(CopyFromLine(project, cursor, answer)) << answer;
    }
    EXPECT_EQ(project.UndoList.Count(), 0);
    EXPECT_TRUE(CopyFromLine(project, cursor, "2"));  // its own line: undo state, no change
    EXPECT_EQ(project.UndoList.Count(), 1);
    EXPECT_EQ(project.Lines[1].Count(), 3);
    cursor.CurrentStep = 2;
    EXPECT_TRUE(CopyFromLine(project, cursor, "5"));
    EXPECT_THAT(Times(project, 1), ElementsAre(2000));
    EXPECT_EQ(cursor.CurrentStep, -1);
}

TEST_F(EditCommands, StretchAnswersOutsideTheirLimitsChangeNothing) {
    Put(project, 4, 6000, true);
    Normalise(project);
    for (const char* answer : {"", "x", "10.5"}) {
        EXPECT_FALSE(StretchTimeMulti(project, cursor, answer, kLimits)) << answer;
    }
    EXPECT_FALSE(StretchBrightnessMulti(project, "4.5"));
    EXPECT_EQ(project.UndoList.Count(), 0);
    EXPECT_TRUE(StretchTimeMulti(project, cursor, "-1", kLimits));
    EXPECT_THAT(Times(project, 4), ElementsAre(-2000, 2000));
}

TEST_F(EditCommands, SliderSavesNoUndoStateButTheZeroActionDoes) {
    cursor.CurrentStep = 1;
    EXPECT_TRUE(SetCurrentBrightness(project, cursor, 120, true));
    EXPECT_FALSE(project.Modified);  // programmatic
    EXPECT_TRUE(SetCurrentBrightness(project, cursor, 400, false));
    EXPECT_EQ(At(1, 1).Brightness, 255);
    EXPECT_TRUE(project.Modified);
    EXPECT_EQ(project.UndoList.Count(), 0);
    EXPECT_TRUE(ZeroCurrentBrightness(project, cursor));
    EXPECT_EQ(At(1, 1).Brightness, 0);
    EXPECT_EQ(project.UndoList.Count(), 1);

    // Palette press then drag: one undo state restores the colour from before the press.
    EXPECT_TRUE(SetCurrentColour(project, cursor, 0x111111, true));
    EXPECT_TRUE(SetCurrentColour(project, cursor, 0x222222, false));
    EXPECT_EQ(At(1, 1).Colour, 0x222222);
    Undo(project);
    EXPECT_EQ(At(1, 1).Colour, 0x00FF00);

    cursor.CurrentStep = -1;
    EXPECT_FALSE(ZeroCurrentBrightness(project, cursor));
    EXPECT_FALSE(SetCurrentColour(project, cursor, 0, true));
}

}  // namespace
}  // namespace lumavox
