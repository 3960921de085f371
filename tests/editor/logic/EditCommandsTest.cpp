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
    PaneState pane;
};

TEST_F(EditCommands, CutClearsTheCursorAndDeselectsEveryLine) {
    SetStepSelected(project, 1, &At(1, 0), true);
    pane.SetCurrentIndex(project, 2, false);
    pane.SetCurrentIndex(project, 1, true);
    EXPECT_EQ(CutSteps(project, pane), 1);
    EXPECT_EQ(pane.CurrentStep, nullptr);
    EXPECT_EQ(pane.AnchorStep, nullptr);
    EXPECT_THAT(Times(project, 1), ElementsAre(3000, 5000));
    EXPECT_EQ(SelectedCount(project), 0);
    EXPECT_EQ(project.UndoList.Count(), 1);
    EXPECT_EQ(project.LineClipboard.Count(), 1);
}

TEST_F(EditCommands, PasteKeepsTheCurrentStepByIdentity) {
    SetStepSelected(project, 1, &At(1, 2), true);
    CopySteps(project);
    EXPECT_EQ(project.UndoList.Count(), 0);
    EXPECT_EQ(SelectedCount(project), 0);
    pane.SetCurrentIndex(project, 1, false);  // the step at 3000
    PasteSteps(project, 0);
    EXPECT_THAT(Times(project, 1), ElementsAre(0, 1000, 3000, 5000));
    EXPECT_EQ(pane.CurrentIndex(project), 2);
    EXPECT_EQ(project.UndoList.Count(), 1);
}

TEST_F(EditCommands, BlankStepLeavesTheLooksOfTheLineAlone) {
    AddBlankStep(project, 500);  // before the first: black, 0
    EXPECT_EQ(At(1, 0).Colour, 0);
    EXPECT_EQ(At(1, 0).Brightness, 0);
    AddBlankStep(project, 9000);  // after the last: its colour and brightness
    EXPECT_EQ(At(1, 4).Colour, 0xFF0000);
    EXPECT_EQ(At(1, 4).Brightness, -50);
    AddBlankStep(project, 2000);  // halfway between red and green
    EXPECT_EQ(At(1, 2).Time, 2000);
    EXPECT_EQ(At(1, 2).Colour & 0xFF, 0x7F);
    EXPECT_EQ(At(1, 2).Brightness, 50);
    EXPECT_EQ(project.UndoList.Count(), 3);
}

TEST_F(EditCommands, AddingAtMinusOneMillisecondPutsTheStepFirst) {
    pane.SetCurrentIndex(project, 0, false);
    AddColourStep(project, 0x123456, -1);
    EXPECT_THAT(Times(project, 1), ElementsAre(-1, 1000, 3000, 5000));
    EXPECT_EQ(At(1, 0).Colour, 0x123456);
    EXPECT_EQ(pane.CurrentIndex(project), 1);
}

TEST_F(EditCommands, RecolourAndRetimeActOnSelectionAndCurrentWithOneUndoState) {
    pane.SetCurrentIndex(project, 0, false);
    EXPECT_TRUE(RecolourSteps(project, pane, 0x00ABCD));
    EXPECT_EQ(At(1, 0).Colour, 0x00ABCD);
    EXPECT_EQ(At(4, 0).Colour, 0x00ABCD);
    EXPECT_EQ(At(1, 1).Colour, 0x00FF00);
    EXPECT_EQ(project.UndoList.Count(), 1);

    EXPECT_EQ(StepTimeToEdit(project, pane), 1000);
    EXPECT_FALSE(RetimeSteps(project, pane, -1500, 60000));
    EXPECT_FALSE(RetimeSteps(project, pane, 60001, 60000));
    EXPECT_EQ(project.UndoList.Count(), 1);
    EXPECT_TRUE(RetimeSteps(project, pane, 4000, 60000));
    EXPECT_THAT(Times(project, 1), ElementsAre(3000, 4000, 5000));
    EXPECT_EQ(pane.CurrentIndex(project), 1);  // followed through the re-sort
    EXPECT_EQ(At(4, 0).Time, 4000);
    EXPECT_EQ(project.UndoList.Count(), 2);

    pane.CurrentStep = nullptr;
    EXPECT_EQ(StepTimeToEdit(project, pane), 4000);  // the earliest selected
    SetSelection(project, 0, true);
    EXPECT_EQ(StepTimeToEdit(project, pane), std::nullopt);
    EXPECT_FALSE(RecolourSteps(project, pane, 0));
}

TEST_F(EditCommands, MoveToCursorFollowsTheStep) {
    pane.SetCurrentIndex(project, 0, false);
    EXPECT_TRUE(MoveCurrentToCursor(project, pane, 4000));
    EXPECT_THAT(Times(project, 1), ElementsAre(3000, 4000, 5000));
    EXPECT_EQ(pane.CurrentIndex(project), 1);
    EXPECT_EQ(project.UndoList.Count(), 1);

    // Undo brings back new step objects; the current step keeps its index.
    UndoCommand(project, pane);
    EXPECT_THAT(Times(project, 1), ElementsAre(1000, 3000, 5000));
    EXPECT_EQ(pane.CurrentStep, &At(1, 1));
    pane.CurrentStep = &At(4, 0);  // not in the current line
    EXPECT_FALSE(MoveCurrentToCursor(project, pane, 0));
    EXPECT_EQ(pane.CurrentStep, nullptr);
}

TEST_F(EditCommands, CopyFromLineRefusesBadAnswersWithoutAnUndoState) {
    for (const char* answer : {"0", "9", "abc", ""}) {
        EXPECT_FALSE(CopyFromLine(project, pane, answer)) << answer;
    }
    EXPECT_EQ(project.UndoList.Count(), 0);
    EXPECT_TRUE(CopyFromLine(project, pane, "2"));  // its own line: undo state, no change
    EXPECT_EQ(project.UndoList.Count(), 1);
    EXPECT_EQ(project.Lines[1].Count(), 3);
    pane.SetCurrentIndex(project, 2, false);
    EXPECT_TRUE(CopyFromLine(project, pane, "5"));
    EXPECT_THAT(Times(project, 1), ElementsAre(2000));
    EXPECT_EQ(pane.CurrentStep, nullptr);
}

TEST_F(EditCommands, StretchAnswersOutsideTheirLimitsChangeNothing) {
    Put(project, 4, 6000, true);
    Normalise(project);
    for (const char* answer : {"", "x", "10.5"}) {
        EXPECT_FALSE(StretchTimeMulti(project, answer, kLimits)) << answer;
    }
    EXPECT_FALSE(StretchBrightnessMulti(project, "4.5"));
    EXPECT_EQ(project.UndoList.Count(), 0);
    EXPECT_TRUE(StretchTimeMulti(project, "-1", kLimits));
    EXPECT_THAT(Times(project, 4), ElementsAre(-2000, 2000));
}

TEST_F(EditCommands, SliderSavesNoUndoStateButTheZeroActionDoes) {
    pane.SetCurrentIndex(project, 1, false);
    EXPECT_TRUE(SetCurrentBrightness(project, pane, 120, true));
    EXPECT_FALSE(project.Modified);  // programmatic
    EXPECT_TRUE(SetCurrentBrightness(project, pane, 400, false));
    EXPECT_EQ(At(1, 1).Brightness, 255);
    EXPECT_TRUE(project.Modified);
    EXPECT_EQ(project.UndoList.Count(), 0);
    EXPECT_TRUE(ZeroCurrentBrightness(project, pane));
    EXPECT_EQ(At(1, 1).Brightness, 0);
    EXPECT_EQ(project.UndoList.Count(), 1);

    // Palette press then drag: one undo state restores the colour from before the press.
    EXPECT_TRUE(SetCurrentColour(project, pane, 0x111111, true));
    EXPECT_TRUE(SetCurrentColour(project, pane, 0x222222, false));
    EXPECT_EQ(At(1, 1).Colour, 0x222222);
    Undo(project);
    EXPECT_EQ(At(1, 1).Colour, 0x00FF00);

    pane.CurrentStep = nullptr;
    EXPECT_FALSE(ZeroCurrentBrightness(project, pane));
    EXPECT_FALSE(SetCurrentColour(project, pane, 0, true));
}

}  // namespace
}  // namespace lumavox
