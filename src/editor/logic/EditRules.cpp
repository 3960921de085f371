#include "editor/logic/EditRules.h"

namespace lumavox {

bool ChangesSteps(ActionId id) {
    using Id = ActionId;
    switch (id) {
        case Id::NewPrjAction:
        case Id::OpenPrjAction:
        case Id::CutStepAction:
        case Id::PstStepAction:
        case Id::AddStepAction:
        case Id::AddBlkStepAction:
        case Id::DelStepAction:
        case Id::DelAllStepAction:
        case Id::MovToCsrPosAction:
        case Id::PropStepAction:
        case Id::TimeStepAction:
        case Id::CpyFrmTrkAction:
        case Id::UndoAction:
        case Id::CutMltAction:
        case Id::PstMltAction:
        case Id::AlignMltAction:
        case Id::StretchMltAction:
        case Id::LoadGrpAction:
            return true;
        case Id::SavePrjAction:
        case Id::SaveAsPrjAction:
        case Id::SetPrjAction:
        case Id::ZoomInAction:
        case Id::ZoomOutAction:
        case Id::ZoomFitAction:
        case Id::CpyStepAction:
        case Id::SelectAllAction:
        case Id::PrvTimAction:
        case Id::NxtTimAction:
        case Id::PrvStpAction:
        case Id::NxtStpAction:
        case Id::UpBrightAction:
        case Id::DownBrightAction:
        case Id::TopPlayAction:
        case Id::PlayAction:
        case Id::PauseAction:
        case Id::StopAction:
        case Id::ToTopPosAction:
        case Id::ToEndPosAction:
        case Id::ViewFilToolAction:
        case Id::ViewEditToolAction:
        case Id::ViewPlayerAction:
        case Id::ViewCurPalAction:
        case Id::ViewSttBarAction:
        case Id::ViewRefTrkAction:
        case Id::ViewColMonAction:
        case Id::DispMonoAction:
        case Id::CpyMltAction:
        case Id::SelectAllMltAction:
        case Id::StretchBrtAction:
        case Id::SaveSelGrpAction:
        case Id::SelectExAction:
        case Id::CurBrt0Action:
            return false;
    }
    return false;
}

ActionState EditActionState(ActionId id, const ActionFacts& facts, bool dragActive) {
    ActionState state = MainActionState(id, facts);
    if (dragActive && ChangesSteps(id)) state.Enabled = false;
    return state;
}

}  // namespace lumavox
