#include "editor/logic/EditRules.h"

#include <array>

namespace lumavox {

namespace {

constexpr ActionId kStepChanging[] = {
    ActionId::NewPrjAction,       ActionId::OpenPrjAction,    ActionId::CutStepAction,
    ActionId::PstStepAction,      ActionId::AddStepAction,    ActionId::AddBlkStepAction,
    ActionId::DelStepAction,      ActionId::DelAllStepAction, ActionId::MovToCsrPosAction,
    ActionId::PropStepAction,     ActionId::TimeStepAction,   ActionId::CpyFrmTrkAction,
    ActionId::UndoAction,         ActionId::CutMltAction,     ActionId::PstMltAction,
    ActionId::AlignMltAction,     ActionId::StretchMltAction, ActionId::LoadGrpAction,
    ActionId::AddBeatStepsAction, ActionId::RedoAction,       ActionId::ReplaceSoundAction,
};

constexpr std::array<bool, kActionIdCount> kChangesSteps = [] {
    std::array<bool, kActionIdCount> changes{};
    for (const ActionId id : kStepChanging) changes[IndexOf(id)] = true;
    return changes;
}();

}  // namespace

bool ChangesSteps(ActionId id) {
    return kChangesSteps[IndexOf(id)];
}

ActionState EditActionState(ActionId id, const ActionFacts& facts, bool dragActive) {
    ActionState state = MainActionState(id, facts);
    if (dragActive && ChangesSteps(id)) state.Enabled = false;
    return state;
}

}  // namespace lumavox
