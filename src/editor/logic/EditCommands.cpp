#include "editor/logic/EditCommands.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "editor/logic/DialogMaths.h"
#include "model/ColourEval.h"

namespace lumavox {
namespace {

using Items = TStepList::Items;

TStepList* CurrentLineList(ProjectData& project) {
    const int line = project.CurrentLine.load(std::memory_order_relaxed);
    if (line < 0 || line >= kLineCount) return nullptr;
    return &project.Lines[static_cast<size_t>(line)];
}

const TStepList* CurrentLineList(const ProjectData& project) {
    const int line = project.CurrentLine.load(std::memory_order_relaxed);
    if (line < 0 || line >= kLineCount) return nullptr;
    return &project.Lines[static_cast<size_t>(line)];
}

const Step* StepOfLine(const ProjectData& project, int index) {
    const TStepList* line = CurrentLineList(project);
    if (line == nullptr || index < 0 || index >= line->Count()) return nullptr;
    return &line->At(index);
}

int IndexOf(const ProjectData& project, const Step* step) {
    const TStepList* line = CurrentLineList(project);
    if (line == nullptr || step == nullptr) return -1;
    const Items& items = line->ItemsUnlocked();
    for (size_t i = 0; i < items.size(); ++i) {
        if (items[i].get() == step) return static_cast<int>(i);
    }
    return -1;
}

// Holds the current and anchor step by identity across an operation that re-sorts the line but
// frees none of its steps (step addresses are stable in a TStepList), and turns them back into
// indices afterwards.
class KeepCursor {
public:
    KeepCursor(ProjectData& project, StepCursor& cursor)
        : m_project(project),
          m_cursor(cursor),
          m_current(StepOfLine(project, cursor.CurrentStep)),
          m_anchor(StepOfLine(project, cursor.AnchorStep)) {}
    KeepCursor(const KeepCursor&) = delete;
    KeepCursor& operator=(const KeepCursor&) = delete;
    ~KeepCursor() {
        if (m_current != nullptr) m_cursor.CurrentStep = IndexOf(m_project, m_current);
        if (m_anchor != nullptr) m_cursor.AnchorStep = IndexOf(m_project, m_anchor);
    }

private:
    ProjectData& m_project;
    StepCursor& m_cursor;
    const Step* m_current;
    const Step* m_anchor;
};

// Applies fn to every selected step of every line and to the current step of the current line,
// each once, inside each line's Edit.
template <class Fn>
void ForSelectedAndCurrent(ProjectData& project, const Step* current, Fn fn) {
    for (TStepList& line : project.Lines) {
        line.Edit([&](Items& items) {
            for (auto& step : items) {
                if (step->Selected != 0 || step.get() == current) fn(*step);
            }
        });
    }
}

bool AnyTarget(const ProjectData& project, const Step* current) {
    return current != nullptr || SelectedCount(project) > 0;
}

void Deselect(ProjectData& project) {
    SetSelection(project, 0, true);
}

}  // namespace

const Step* CurrentStepOf(const ProjectData& project, const StepCursor& cursor) {
    return StepOfLine(project, cursor.CurrentStep);
}

int CutSteps(ProjectData& project, StepCursor& cursor) {
    cursor = StepCursor{};
    const int n = CopyLine(project, true);
    Deselect(project);
    return n;
}

int CopySteps(ProjectData& project) {
    const int n = CopyLine(project, false);
    Deselect(project);
    return n;
}

int PasteSteps(ProjectData& project, StepCursor& cursor, int32_t cursorTime) {
    KeepCursor keep(project, cursor);
    return PasteLine(project, cursorTime);
}

void AddColourStep(ProjectData& project, StepCursor& cursor, int32_t colour, int32_t t) {
    KeepCursor keep(project, cursor);
    AddStep(project, colour, 0, t, 0, true);
}

void AddBlankStep(ProjectData& project, StepCursor& cursor, int32_t t) {
    const TStepList* line = CurrentLineList(project);
    if (line == nullptr) return;
    const Step* earlier = nullptr;
    const Step* later = nullptr;
    for (const auto& step : line->ItemsUnlocked()) {
        if (step->Time <= t) {
            earlier = step.get();
        } else if (later == nullptr) {
            later = step.get();
        }
    }
    int32_t colour = 0;
    int32_t brightness = 0;
    if (earlier != nullptr && later != nullptr) {
        const LineColour at =
            LineColourAt(project, project.CurrentLine.load(std::memory_order_relaxed), t);
        colour = at.Colour == NoColour ? 0 : at.Colour;
        brightness = at.Brightness;
    } else if (earlier != nullptr) {
        colour = earlier->Colour;
        brightness = earlier->Brightness;
    }
    KeepCursor keep(project, cursor);
    AddStep(project, colour, brightness, t, 0, true);
}

int DeleteSteps(ProjectData& project, StepCursor& cursor) {
    cursor = StepCursor{};
    return DeleteSelected(project);
}

void DeleteAllSteps(ProjectData& project, StepCursor& cursor) {
    cursor = StepCursor{};
    ClearCurrentLine(project);
}

int SelectAllSteps(ProjectData& project) {
    SetSelection(project, 1, false);
    return SelectedCount(project);
}

bool RecolourSteps(ProjectData& project, StepCursor& cursor, int32_t colour) {
    const Step* current = CurrentStepOf(project, cursor);
    if (!AnyTarget(project, current)) return false;
    KeepCursor keep(project, cursor);
    SaveUndoState(project);
    ForSelectedAndCurrent(project, current, [&](Step& step) { step.Colour = colour & 0xFFFFFF; });
    Normalise(project);
    project.Modified = true;
    return true;
}

std::optional<int32_t> StepTimeToEdit(const ProjectData& project, const StepCursor& cursor) {
    if (const Step* current = CurrentStepOf(project, cursor)) return current->Time;
    std::optional<int32_t> earliest;
    for (const TStepList& line : project.Lines) {
        for (const auto& step : line.ItemsUnlocked()) {
            if (step->Selected != 0 && (!earliest || step->Time < *earliest)) {
                earliest = step->Time;
            }
        }
    }
    return earliest;
}

bool RetimeSteps(ProjectData& project, StepCursor& cursor, int32_t v, int32_t soundLength) {
    const Step* current = CurrentStepOf(project, cursor);
    if (v < 0 || v > soundLength || !AnyTarget(project, current)) return false;
    KeepCursor keep(project, cursor);
    SaveUndoState(project);
    ForSelectedAndCurrent(project, current, [&](Step& step) { step.Time = v; });
    Normalise(project);
    project.Modified = true;
    return true;
}

bool MoveCurrentToCursor(ProjectData& project, StepCursor& cursor, int32_t cursorTime) {
    const Step* current = CurrentStepOf(project, cursor);
    TStepList* line = CurrentLineList(project);
    if (current == nullptr || line == nullptr) {
        cursor.CurrentStep = -1;
        return false;
    }
    KeepCursor keep(project, cursor);
    SaveUndoState(project);
    line->Edit([&](Items& items) {
        for (auto& step : items) {
            if (step.get() == current) step->Time = cursorTime;
        }
    });
    Normalise(project);
    project.Modified = true;
    return true;
}

bool CopyFromLine(ProjectData& project, StepCursor& cursor, std::string_view answer) {
    const int n = ReadLineNumber(answer);
    if (n < 1 || n > kLineCount) return false;
    SaveUndoState(project);
    const int dst = project.CurrentLine.load(std::memory_order_relaxed);
    // The copy frees every step of the current line: the cursor must not point at the new ones.
    if (CopyLineFrom(project, n - 1, dst) > 0) cursor = StepCursor{};
    return true;
}

int CutMulti(ProjectData& project, StepCursor& cursor) {
    cursor = StepCursor{};
    const int n = lumavox::CopyMulti(project, true);
    Deselect(project);
    return n;
}

int CopyMulti(ProjectData& project) {
    const int n = lumavox::CopyMulti(project, false);
    Deselect(project);
    return n;
}

int PasteMulti(ProjectData& project, StepCursor& cursor, int32_t cursorTime) {
    KeepCursor keep(project, cursor);
    return lumavox::PasteMulti(project, cursorTime);
}

void SelectAllMulti(ProjectData& project) {
    SetSelection(project, 1, true);
}

int AlignMulti(ProjectData& project, StepCursor& cursor) {
    KeepCursor keep(project, cursor);
    return AlignSelected(project);
}

bool StretchTimeMulti(ProjectData& project, StepCursor& cursor, std::string_view answer,
                      const TimeLimits& limits) {
    const std::optional<double> x = ReadStretchFactor(answer);
    if (!x || !(std::abs(*x) <= 10.0)) return false;
    KeepCursor keep(project, cursor);
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

template <class Fn>
bool EditCurrent(ProjectData& project, const StepCursor& cursor, Fn fn) {
    const Step* current = CurrentStepOf(project, cursor);
    TStepList* line = CurrentLineList(project);
    if (current == nullptr || line == nullptr) return false;
    line->Edit([&](Items& items) {
        for (auto& step : items) {
            if (step.get() == current) fn(*step);
        }
    });
    return true;
}

}  // namespace

bool SetCurrentBrightness(ProjectData& project, const StepCursor& cursor, int32_t brightness,
                          bool programmatic) {
    const int32_t b = std::clamp(brightness, kMinBrightness, kMaxBrightness);
    if (!EditCurrent(project, cursor, [&](Step& step) { step.Brightness = b; })) return false;
    if (!programmatic) project.Modified = true;
    return true;
}

bool ZeroCurrentBrightness(ProjectData& project, const StepCursor& cursor) {
    if (CurrentStepOf(project, cursor) == nullptr) return false;
    SaveUndoState(project);
    EditCurrent(project, cursor, [](Step& step) { step.Brightness = 0; });
    project.Modified = true;
    return true;
}

bool SetCurrentColour(ProjectData& project, const StepCursor& cursor, int32_t colour,
                      bool saveUndo) {
    if (CurrentStepOf(project, cursor) == nullptr) return false;
    if (saveUndo) SaveUndoState(project);
    EditCurrent(project, cursor, [&](Step& step) { step.Colour = colour & 0xFFFFFF; });
    project.Modified = true;
    return true;
}

}  // namespace lumavox
