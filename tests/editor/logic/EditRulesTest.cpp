#include "editor/logic/EditRules.h"

#include <gtest/gtest.h>

#include <string_view>

#include "settings/ShortCut.h"

namespace lumavox {
namespace {

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
    for (std::string_view action :
         {"UndoAction", "CutStepAction", "DelStepAction", "PstStepAction", "DelAllStepAction",
          "TimeStepAction", "PropStepAction", "AddStepAction", "MovToCsrPosAction",
          "CpyFrmTrkAction", "NewPrjAction", "OpenPrjAction", "CutMltAction", "PstMltAction",
          "StretchMltAction", "AlignMltAction", "LoadGrpAction"}) {
        EXPECT_TRUE(EditActionState(action, f, false).Enabled) << action;
        EXPECT_FALSE(EditActionState(action, f, true).Enabled) << action;
    }
    // Copying, selecting and brightness keys hold no step the drag could lose.
    for (std::string_view action : {"CpyStepAction", "SelectAllAction", "UpBrightAction",
                                    "CurBrt0Action", "SaveSelGrpAction", "StretchBrtAction"}) {
        EXPECT_TRUE(EditActionState(action, f, true).Enabled) << action;
    }
}

TEST(EditRules, OtherwiseTheMainRulesHold) {
    ActionFacts f = Busy();
    f.SelectedInLine = 0;  // other lines still have a selection
    EXPECT_FALSE(EditActionState("DelStepAction", f, false).Enabled);
    EXPECT_TRUE(EditActionState("CutMltAction", f, false).Enabled);
    f.MultiMode = false;
    EXPECT_FALSE(EditActionState("CutMltAction", f, false).Visible);
    f.CurrentStep = -1;
    f.CursorTime = 0;  // no current step compares 0
    EXPECT_FALSE(EditActionState("AddBlkStepAction", f, false).Enabled);
}

}  // namespace
}  // namespace lumavox
