#include "editor/logic/EditRules.h"

#include <array>

#include "editor/logic/PaneState.h"
#include "engine/EngineState.h"
#include "model/ProjectData.h"
#include "model/StepOps.h"

namespace lumavox {
namespace {

using Rule = bool (*)(const EditState&);

struct RuleEntry {
    std::string_view Action;
    Rule Enabled;
    bool ChangesSteps;  // refused while a drag holds steps
    bool MultiOnly;     // visible only in multi mode
};

bool HasCurrent(const EditState& s) {
    return s.CurrentStep >= 0;
}
bool CanAdd(const EditState& s) {
    const int32_t stepTime = HasCurrent(s) ? s.CurrentStepTime : 0;
    return s.Loaded && stepTime != s.CursorTime;
}

constexpr std::array kRules = {
    RuleEntry{"NewPrjAction", [](const EditState& s) { return s.Idle; }, true, false},
    RuleEntry{"OpenPrjAction", [](const EditState& s) { return s.Idle; }, true, false},
    RuleEntry{"SavePrjAction", [](const EditState& s) { return s.Modified; }, false, false},
    RuleEntry{"SaveAsPrjAction", [](const EditState& s) { return s.Idle; }, false, false},
    RuleEntry{"CutStepAction", [](const EditState& s) { return s.SelectedInLine > 0; }, true,
              false},
    RuleEntry{"CpyStepAction", [](const EditState& s) { return s.SelectedInLine > 0; }, false,
              false},
    RuleEntry{"PstStepAction", [](const EditState& s) { return s.LineClipboard; }, true, false},
    RuleEntry{"AddStepAction", CanAdd, true, false},
    RuleEntry{"AddBlkStepAction", CanAdd, true, false},
    RuleEntry{"DelStepAction", [](const EditState& s) { return s.SelectedInLine > 0; }, true,
              false},
    RuleEntry{"DelAllStepAction", [](const EditState& s) { return s.StepsInLine > 0; }, true,
              false},
    RuleEntry{"SelectAllAction", [](const EditState& s) { return s.StepsAll > 0; }, false, false},
    RuleEntry{"MovToCsrPosAction", HasCurrent, true, false},
    RuleEntry{"PropStepAction",
              [](const EditState& s) { return HasCurrent(s) || s.SelectedAll > 0; }, true, false},
    RuleEntry{"TimeStepAction",
              [](const EditState& s) { return HasCurrent(s) || s.SelectedAll > 0; }, true, false},
    RuleEntry{"CpyFrmTrkAction", [](const EditState& s) { return s.StepsAll > 0; }, true, false},
    RuleEntry{"UndoAction", [](const EditState& s) { return s.UndoAvailable; }, true, false},
    RuleEntry{"UpBrightAction", HasCurrent, true, false},
    RuleEntry{"DownBrightAction", HasCurrent, true, false},
    RuleEntry{"CutMltAction", [](const EditState& s) { return s.SelectedAll > 0; }, true, true},
    RuleEntry{"CpyMltAction", [](const EditState& s) { return s.SelectedAll > 0; }, false, true},
    RuleEntry{"PstMltAction", [](const EditState& s) { return s.MultiClipboard; }, true, true},
    RuleEntry{"SelectAllMltAction", [](const EditState&) { return true; }, false, true},
    RuleEntry{"AlignMltAction", [](const EditState& s) { return s.SelectedAll > 0; }, true, true},
    RuleEntry{"StretchMltAction", [](const EditState& s) { return s.SelectedAll > 0; }, true, true},
    RuleEntry{"StretchBrtAction", [](const EditState& s) { return s.SelectedAll > 0; }, true, true},
    RuleEntry{"SaveSelGrpAction", [](const EditState& s) { return s.SelectedAll > 0; }, false,
              false},
    RuleEntry{"LoadGrpAction", [](const EditState& s) { return s.Loaded; }, true, false},
    RuleEntry{"SelectExAction", [](const EditState& s) { return s.StepsAll > 0; }, false, false},
    RuleEntry{"CurBrt0Action", HasCurrent, true, false},
};

const RuleEntry* Find(std::string_view action) {
    for (const RuleEntry& entry : kRules) {
        if (entry.Action == action) return &entry;
    }
    return nullptr;
}

}  // namespace

std::optional<bool> EditActionEnabled(std::string_view action, const EditState& state) {
    const RuleEntry* entry = Find(action);
    if (entry == nullptr) return std::nullopt;
    if (entry->ChangesSteps && state.DragActive) return false;
    return entry->Enabled(state);
}

bool EditActionVisible(std::string_view action, const EditState& state) {
    const RuleEntry* entry = Find(action);
    return entry == nullptr || !entry->MultiOnly || state.MultiMode;
}

EditState GatherEditState(const ProjectData& project, const EngineState& engine,
                          const PaneState& pane, bool loaded, bool multiMode) {
    EditState s;
    s.Loaded = loaded;
    s.Idle = engine.SoundMode.Get() != "playing" &&
             !engine.FreeClockRunning.load(std::memory_order_relaxed);
    s.Modified = project.Modified;
    s.MultiMode = multiMode;
    s.DragActive = pane.Busy();
    s.LineClipboard = !project.LineClipboard.Empty();
    s.MultiClipboard = !project.MultiLineClipboard.Empty();
    s.UndoAvailable = !project.UndoList.Empty();
    s.SelectedInLine = SelectedCountInLine(project);
    s.SelectedAll = SelectedCount(project);
    s.StepsAll = StepCount(project);
    const int line = project.CurrentLine.load(std::memory_order_relaxed);
    s.StepsInLine =
        line >= 0 && line < kLineCount ? project.Lines[static_cast<size_t>(line)].Count() : 0;
    s.CurrentStep = pane.CurrentIndex(project);
    if (s.CurrentStep >= 0) s.CurrentStepTime = pane.CurrentStep->Time;
    s.CursorTime = engine.CursorTime.load(std::memory_order_relaxed);
    return s;
}

}  // namespace lumavox
