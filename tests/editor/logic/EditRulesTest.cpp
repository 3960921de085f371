#include "editor/logic/EditRules.h"

#include <gtest/gtest.h>

#include "settings/ShortCut.h"

namespace lumavox {
namespace {

using Id = ActionId;

// Facts under which every step command of the edit menu would be enabled.
ActionFacts Busy() {
    ActionFacts f;
    f.SoundLoaded = true;
    f.SelectedInLine = f.SelectedAll = f.StepsAll = f.StepsInLine = 3;
    f.LineClipboardEmpty = f.MultiClipboardEmpty = f.UndoEmpty = false;
    f.CurrentStep = 0;
    f.CursorTime = 500;
    f.MultiMode = true;
    return f;
}

TEST(EditRules, StepChangingCommandsWaitForTheDragToEnd) {
    const ActionFacts f = Busy();
    for (ActionId action : {Id::UndoAction, Id::CutStepAction, Id::DelStepAction, Id::PstStepAction,
                            Id::DelAllStepAction, Id::TimeStepAction, Id::PropStepAction,
                            Id::AddStepAction, Id::MovToCsrPosAction, Id::CpyFrmTrkAction,
                            Id::NewPrjAction, Id::OpenPrjAction, Id::CutMltAction, Id::PstMltAction,
                            Id::StretchMltAction, Id::AlignMltAction, Id::LoadGrpAction}) {
        EXPECT_TRUE(EditActionState(action, f, false).Enabled) << ActionName(action);
        EXPECT_FALSE(EditActionState(action, f, true).Enabled) << ActionName(action);
    }
    // Copying, selecting and brightness keys hold no step the drag could lose.
    for (ActionId action : {Id::CpyStepAction, Id::SelectAllAction, Id::UpBrightAction,
                            Id::CurBrt0Action, Id::SaveSelGrpAction, Id::StretchBrtAction}) {
        EXPECT_TRUE(EditActionState(action, f, true).Enabled) << ActionName(action);
    }
}

TEST(EditRules, OtherwiseTheMainRulesHold) {
    ActionFacts f = Busy();
    f.SelectedInLine = 0;  // other lines still have a selection
    EXPECT_FALSE(EditActionState(Id::DelStepAction, f, false).Enabled);
    EXPECT_TRUE(EditActionState(Id::CutMltAction, f, false).Enabled);
    f.MultiMode = false;
    EXPECT_FALSE(EditActionState(Id::CutMltAction, f, false).Visible);
    f.CurrentStep = -1;
    f.CursorTime = 0;  // no current step compares 0
    EXPECT_FALSE(EditActionState(Id::AddBlkStepAction, f, false).Enabled);
}

}  // namespace
}  // namespace lumavox
