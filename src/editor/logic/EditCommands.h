#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "editor/logic/PaneState.h"
#include "model/StepOps.h"

namespace lumavox {

// The main window's edit commands as operations on the project: each goes through the step
// operations (one undo state per command where the command saves one) and leaves the dialogs,
// boxes, status panels and repaints to the window. The current and anchor step of the pane state
// are held by identity, so re-sorts keep them; commands that free steps of the current line clear
// them first, so that a new step at a freed address is never taken for the old one. The window
// refuses step-changing commands while pane.Busy(). UI thread only.

// Cut/copy of the current line's selection into the line clipboard, then everything deselected.
// Cut clears the current and anchor step.
int CutSteps(ProjectData& project, PaneState& pane);
int CopySteps(ProjectData& project);
int PasteSteps(ProjectData& project, int32_t cursorTime);

// Adds a step of the given colour, brightness 0, at time t (undo state saved).
void AddColourStep(ProjectData& project, int32_t colour, int32_t t);
// Adds a step at t that leaves the line's look unchanged: black, brightness 0 before the first
// step; the line's evaluated colour between two steps; the earlier step's colour and brightness
// after the last one.
void AddBlankStep(ProjectData& project, int32_t t);

// Deletes the selected steps of all lines; clears the current and anchor step.
int DeleteSteps(ProjectData& project, PaneState& pane);
// Frees every step of the current line (after the user confirmed), undo state saved.
void DeleteAllSteps(ProjectData& project, PaneState& pane);
// Selects every step of the current line; returns the selected count of all lines.
int SelectAllSteps(ProjectData& project);

// Gives every selected step of every line and the current step the colour: one undo state.
// False (nothing changed) when there is neither.
bool RecolourSteps(ProjectData& project, const PaneState& pane, int32_t colour);
// The time the step time dialog opens with: the current step's, else the earliest selected one;
// nullopt when there is neither.
std::optional<int32_t> StepTimeToEdit(const ProjectData& project, const PaneState& pane);
// Gives every selected step and the current step time v: one undo state. False with nothing
// changed when v < 0, v > soundLength or there is nothing to retime (the caller beeps).
bool RetimeSteps(ProjectData& project, const PaneState& pane, int32_t v, int32_t soundLength);
// Moves the current step to the cursor time (undo state saved); false without a current step.
bool MoveCurrentToCursor(ProjectData& project, PaneState& pane, int32_t cursorTime);
// The answer of "copy from line": 1..8 saves an undo state and copies that line into the current
// one (nothing more when it is the current line or empty). False when the answer is refused.
bool CopyFromLine(ProjectData& project, PaneState& pane, std::string_view answer);

// Multi-line commands.
int CutMultiSteps(ProjectData& project, PaneState& pane);
int CopyMultiSteps(ProjectData& project);
int PasteMultiSteps(ProjectData& project, int32_t cursorTime);
void SelectAllMultiSteps(ProjectData& project);
int AlignMultiSteps(ProjectData& project);
// The answers of the two stretch boxes: empty → nothing, not a number → refused, |x| within 10
// (time) or 4 (brightness) → the stretch with its undo state. True when it ran.
bool StretchTimeMulti(ProjectData& project, std::string_view answer, const TimeLimits& limits);
bool StretchBrightnessMulti(ProjectData& project, std::string_view answer);

// Undo one level. The current step keeps its index in the restored line (none past its end):
// the restored steps are new objects.
void UndoCommand(ProjectData& project, PaneState& pane);
// Redo one level, keeping the current step's index in the same way.
void RedoCommand(ProjectData& project, PaneState& pane);
// The current step of the current line, or null when it is gone.
const Step* CurrentStepOf(const ProjectData& project, const PaneState& pane);
// Brightness slider: sets the current step's brightness (clamped) without an undo state; marks
// the project modified unless programmatic. False without a current step.
bool SetCurrentBrightness(ProjectData& project, const PaneState& pane, int32_t brightness,
                          bool programmatic);
// The zero action: undo state, brightness 0, modified. False without a current step.
bool ZeroCurrentBrightness(ProjectData& project, const PaneState& pane);
// The palette: the current step's base colour; an undo state only when saveUndo (the press, not
// the moves that follow). Modified. False without a current step.
bool SetCurrentColour(ProjectData& project, const PaneState& pane, int32_t colour, bool saveUndo);

}  // namespace lumavox
