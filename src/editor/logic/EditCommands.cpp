#include "editor/logic/EditCommands.h"

#include <cmath>

#include "editor/logic/DialogMaths.h"
#include "model/ColourEval.h"

namespace lumavox {
namespace {

int CurrentLineOf(const ProjectData& project) {
    return project.CurrentLine.load(std::memory_order_relaxed);
}

bool AnyTarget(const ProjectData& project, const Step* current) {
    return current != nullptr || SelectedCount(project) > 0;
}

void Deselect(ProjectData& project) {
    SetSelection(project, 0, true);
}

void ClearCurrent(PaneState& pane) {
    pane.CurrentStep = nullptr;
    pane.AnchorStep = nullptr;
}

}  // namespace

const Step* CurrentStepOf(const ProjectData& project, const PaneState& pane) {
    return pane.CurrentIndex(project) >= 0 ? pane.CurrentStep : nullptr;
}

int CutSteps(ProjectData& project, PaneState& pane) {
    ClearCurrent(pane);
    const int n = CopyLine(project, true);
    Deselect(project);
    return n;
}

int CopySteps(ProjectData& project) {
    const int n = CopyLine(project, false);
    Deselect(project);
    return n;
}

int PasteSteps(ProjectData& project, int32_t cursorTime) {
    return PasteLine(project, cursorTime);
}

void AddColourStep(ProjectData& project, int32_t colour, int32_t t) {
    AddStep(project, colour, 0, t, 0, true);
}

void AddBlankStep(ProjectData& project, int32_t t) {
    const int line = CurrentLineOf(project);
    if (line < 0 || line >= kLineCount) return;
    const Step* earlier = nullptr;
    const Step* later = nullptr;
    for (const Step* step : project.Lines[static_cast<size_t>(line)].ItemsUnlocked()) {
        if (step->Time <= t) {
            earlier = step;
        } else if (later == nullptr) {
            later = step;
        }
    }
    int32_t colour = 0;
    int32_t brightness = 0;
    if (earlier != nullptr && later != nullptr) {
        const LineColour at = LineColourAt(project, line, t);
        colour = at.Colour == NoColour ? 0 : at.Colour;
        brightness = at.Brightness;
    } else if (earlier != nullptr) {
        colour = earlier->Colour;
        brightness = earlier->Brightness;
    }
    AddStep(project, colour, brightness, t, 0, true);
}

int DeleteSteps(ProjectData& project, PaneState& pane) {
    ClearCurrent(pane);
    return DeleteSelected(project);
}

void DeleteAllSteps(ProjectData& project, PaneState& pane) {
    ClearCurrent(pane);
    ClearCurrentLine(project);
}

int SelectAllSteps(ProjectData& project) {
    SetSelection(project, 1, false);
    return SelectedCount(project);
}

bool RecolourSteps(ProjectData& project, const PaneState& pane, int32_t colour) {
    const Step* current = CurrentStepOf(project, pane);
    if (!AnyTarget(project, current)) return false;
    SaveUndoState(project);
    SetColourOfSelectedAnd(project, current, colour & 0xFFFFFF);
    Normalise(project);
    project.Modified = true;
    return true;
}

std::optional<int32_t> StepTimeToEdit(const ProjectData& project, const PaneState& pane) {
    if (const Step* current = CurrentStepOf(project, pane)) return current->Time;
    return EarliestSelectedTime(project);
}

bool RetimeSteps(ProjectData& project, const PaneState& pane, int32_t v, int32_t soundLength) {
    const Step* current = CurrentStepOf(project, pane);
    if (v < 0 || v > soundLength || !AnyTarget(project, current)) return false;
    SaveUndoState(project);
    SetTimeOfSelectedAnd(project, current, v);
    project.Modified = true;
    return true;
}

bool MoveCurrentToCursor(ProjectData& project, PaneState& pane, int32_t cursorTime) {
    const Step* current = CurrentStepOf(project, pane);
    if (current == nullptr) {
        pane.CurrentStep = nullptr;
        return false;
    }
    SaveUndoState(project);
    SetStepTime(project, CurrentLineOf(project), current, cursorTime);
    project.Modified = true;
    return true;
}

bool CopyFromLine(ProjectData& project, PaneState& pane, std::string_view answer) {
    const int n = ReadLineNumber(answer);
    if (n < 1 || n > kLineCount) return false;
    const int dst = CurrentLineOf(project);
    SaveUndoState(project);
    const TStepList& source = project.Lines[static_cast<size_t>(n - 1)];
    // The copy frees every step of the current line: forget them before new ones can take their
    // addresses.
    if (n - 1 != dst && !source.Empty()) ClearCurrent(pane);
    CopyLineFrom(project, n - 1, dst);
    return true;
}

int CutMultiSteps(ProjectData& project, PaneState& pane) {
    ClearCurrent(pane);
    const int n = lumavox::CopyMulti(project, true);
    Deselect(project);
    return n;
}

int CopyMultiSteps(ProjectData& project) {
    const int n = lumavox::CopyMulti(project, false);
    Deselect(project);
    return n;
}

int PasteMultiSteps(ProjectData& project, int32_t cursorTime) {
    return lumavox::PasteMulti(project, cursorTime);
}

void SelectAllMultiSteps(ProjectData& project) {
    SetSelection(project, 1, true);
}

int AlignMultiSteps(ProjectData& project) {
    return AlignSelected(project);
}

bool StretchTimeMulti(ProjectData& project, std::string_view answer, const TimeLimits& limits) {
    const std::optional<double> x = ReadStretchFactor(answer);
    if (!x || !(std::abs(*x) <= 10.0)) return false;
    StretchSelected(project, *x, limits);
    return true;
}

bool StretchBrightnessMulti(ProjectData& project, std::string_view answer) {
    const std::optional<double> x = ReadStretchFactor(answer);
    if (!x || !(std::abs(*x) <= 4.0)) return false;
    ScaleBrightness(project, *x);
    return true;
}

namespace {

// Undo and redo replace every step object: the current and anchor steps keep their indices.
template <class Restore>
void RestoreKeepingIndices(ProjectData& project, PaneState& pane, Restore restore) {
    const int current = pane.CurrentIndex(project);
    const int anchor = pane.AnchorIndex(project);
    ClearCurrent(pane);
    restore(project);
    pane.CurrentStep = StepAt(project, current);
    pane.AnchorStep = StepAt(project, anchor);
}

}  // namespace

void UndoCommand(ProjectData& project, PaneState& pane) {
    RestoreKeepingIndices(project, pane, [](ProjectData& p) { Undo(p); });
}

void RedoCommand(ProjectData& project, PaneState& pane) {
    RestoreKeepingIndices(project, pane, [](ProjectData& p) { Redo(p); });
}

bool SetCurrentBrightness(ProjectData& project, const PaneState& pane, int32_t brightness,
                          bool programmatic) {
    if (!SetStepBrightness(project, CurrentLineOf(project), CurrentStepOf(project, pane),
                           brightness)) {
        return false;
    }
    if (!programmatic) project.Modified = true;
    return true;
}

bool ZeroCurrentBrightness(ProjectData& project, const PaneState& pane) {
    const Step* current = CurrentStepOf(project, pane);
    if (current == nullptr) return false;
    SaveUndoState(project);
    SetStepBrightness(project, CurrentLineOf(project), current, 0);
    project.Modified = true;
    return true;
}

bool SetCurrentColour(ProjectData& project, const PaneState& pane, int32_t colour, bool saveUndo) {
    const Step* current = CurrentStepOf(project, pane);
    if (current == nullptr) return false;
    if (saveUndo) SaveUndoState(project);
    SetStepColour(project, CurrentLineOf(project), current, colour & 0xFFFFFF);
    project.Modified = true;
    return true;
}

}  // namespace lumavox
