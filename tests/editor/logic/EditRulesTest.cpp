#include "editor/logic/EditRules.h"

#include <gtest/gtest.h>

#include <string_view>

#include "editor/logic/ShortCutKeys.h"
#include "settings/ShortCut.h"

namespace lumavox {
namespace {

struct RuleCase {
    std::string_view Action;
    void (*Set)(EditState&);  // makes the rule true from the all-false state
};

// Each row: the action is disabled in an empty state and enabled by exactly this one change.
const RuleCase kCases[] = {
    {"SavePrjAction", [](EditState& s) { s.Modified = true; }},
    {"CutStepAction", [](EditState& s) { s.SelectedInLine = 1; }},
    {"CpyStepAction", [](EditState& s) { s.SelectedInLine = 1; }},
    {"DelStepAction", [](EditState& s) { s.SelectedInLine = 1; }},
    {"PstStepAction", [](EditState& s) { s.LineClipboard = true; }},
    {"DelAllStepAction", [](EditState& s) { s.StepsInLine = 1; }},
    {"SelectAllAction", [](EditState& s) { s.StepsAll = 1; }},
    {"CpyFrmTrkAction", [](EditState& s) { s.StepsAll = 1; }},
    {"SelectExAction", [](EditState& s) { s.StepsAll = 1; }},
    {"MovToCsrPosAction", [](EditState& s) { s.CurrentStep = 0; }},
    {"PropStepAction", [](EditState& s) { s.SelectedAll = 2; }},
    {"TimeStepAction", [](EditState& s) { s.CurrentStep = 3; }},
    {"UndoAction", [](EditState& s) { s.UndoAvailable = true; }},
    {"CurBrt0Action", [](EditState& s) { s.CurrentStep = 0; }},
    {"SaveSelGrpAction", [](EditState& s) { s.SelectedAll = 1; }},
    {"LoadGrpAction", [](EditState& s) { s.Loaded = true; }},
    {"CutMltAction", [](EditState& s) { s.SelectedAll = 1; }},
    {"StretchBrtAction", [](EditState& s) { s.SelectedAll = 1; }},
    {"PstMltAction", [](EditState& s) { s.MultiClipboard = true; }},
};

TEST(EditRules, EachRuleHangsOnItsOwnCondition) {
    for (const RuleCase& c : kCases) {
        EditState state;
        state.Idle = false;
        EXPECT_EQ(EditActionEnabled(c.Action, state), false) << c.Action;
        c.Set(state);
        EXPECT_EQ(EditActionEnabled(c.Action, state), true) << c.Action;
    }
    EXPECT_EQ(EditActionEnabled("ZoomInAction", EditState{}), std::nullopt);
}

TEST(EditRules, DeleteLooksOnlyAtTheCurrentLineEvenThoughItDeletesEverywhere) {
    EditState state;
    state.SelectedAll = 5;
    state.SelectedInLine = 0;
    EXPECT_EQ(EditActionEnabled("DelStepAction", state), false);
    EXPECT_EQ(EditActionEnabled("CutMltAction", state), true);
}

TEST(EditRules, AddNeedsASoundAndACursorAwayFromTheCurrentStep) {
    EditState state;
    state.Loaded = true;
    state.CursorTime = 0;  // no current step compares 0
    EXPECT_EQ(EditActionEnabled("AddStepAction", state), false);
    state.CursorTime = -1;
    EXPECT_EQ(EditActionEnabled("AddBlkStepAction", state), true);
    state.CurrentStep = 2;
    state.CurrentStepTime = -1;
    EXPECT_EQ(EditActionEnabled("AddStepAction", state), false);
    state.CursorTime = 500;
    EXPECT_EQ(EditActionEnabled("AddStepAction", state), true);
    state.Loaded = false;
    EXPECT_EQ(EditActionEnabled("AddStepAction", state), false);
}

TEST(EditRules, StepChangingCommandsWaitForTheDragToEndButCopyDoesNot) {
    EditState state;
    state.SelectedInLine = state.SelectedAll = state.StepsAll = state.StepsInLine = 3;
    state.UndoAvailable = state.LineClipboard = true;
    state.CurrentStep = 0;
    state.DragActive = true;
    for (std::string_view action :
         {"UndoAction", "CutStepAction", "DelStepAction", "PstStepAction", "DelAllStepAction",
          "TimeStepAction", "CurBrt0Action", "NewPrjAction", "UpBrightAction"}) {
        EXPECT_EQ(EditActionEnabled(action, state), false) << action;
    }
    EXPECT_EQ(EditActionEnabled("CpyStepAction", state), true);
    EXPECT_EQ(EditActionEnabled("SelectAllAction", state), true);
}

TEST(EditRules, MultiLineActionsShowOnlyInMultiMode) {
    EditState state;
    EXPECT_FALSE(EditActionVisible("SelectAllMltAction", state));
    EXPECT_TRUE(EditActionVisible("CutStepAction", state));
    EXPECT_TRUE(EditActionVisible("ZoomInAction", state));
    state.MultiMode = true;
    EXPECT_TRUE(EditActionVisible("SelectAllMltAction", state));
}

TEST(ShortCutKeys, AKeyGoesOnlyToTheFirstActionInListOrder) {
    MainShortCuts configured{};
    for (size_t i = 0; i < kMainActions.size(); ++i) configured[i] = kMainActions[i].BuiltIn;
    const ShortCut ctrlX = TextToShortCut("Ctrl+X");
    const ShortCut left = TextToShortCut("Left");
    size_t cut = 0;
    size_t prvTim = 0;
    for (size_t i = 0; i < kMainActions.size(); ++i) {
        if (kMainActions[i].Name == "CutStepAction") cut = i;
        if (kMainActions[i].Name == "PrvTimAction") prvTim = i;
    }
    configured[cut] = ctrlX;
    configured[0] = ctrlX;  // NewPrjAction takes cut's key
    configured[50] = left;  // the last action repeats PrvTimAction's key
    const MainShortCuts effective = EffectiveShortCuts(configured);
    EXPECT_EQ(effective[0], ctrlX);
    EXPECT_EQ(effective[cut], 0);
    EXPECT_EQ(effective[prvTim], left);
    EXPECT_EQ(effective[50], 0);
    EXPECT_EQ(configured[cut], ctrlX);  // the user's list is kept for the settings file
}

}  // namespace
}  // namespace lumavox
