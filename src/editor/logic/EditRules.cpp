#include "editor/logic/EditRules.h"

#include <array>

namespace lumavox {

bool ChangesSteps(std::string_view action) {
    static constexpr std::array<std::string_view, 18> kStepChanging = {
        "NewPrjAction",      "OpenPrjAction",    "CutStepAction",  "PstStepAction",
        "AddStepAction",     "AddBlkStepAction", "DelStepAction",  "DelAllStepAction",
        "MovToCsrPosAction", "PropStepAction",   "TimeStepAction", "CpyFrmTrkAction",
        "UndoAction",        "CutMltAction",     "PstMltAction",   "AlignMltAction",
        "StretchMltAction",  "LoadGrpAction",
    };
    for (std::string_view name : kStepChanging) {
        if (name == action) return true;
    }
    return false;
}

ActionState EditActionState(std::string_view action, const ActionFacts& facts, bool dragActive) {
    ActionState state = MainActionState(action, facts);
    if (dragActive && ChangesSteps(action)) state.Enabled = false;
    return state;
}

}  // namespace lumavox
