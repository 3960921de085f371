#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "model/StepOps.h"

namespace lumavox {

// The current and anchor step of the current line, by index (-1 for none). The commands below
// keep them on the same step objects across the re-sorts they cause.
struct StepCursor {
    int CurrentStep = -1;
    int AnchorStep = -1;
};

// Flags the panes, the palette and the commands share. SuppressDrag: the next press on a step or
// the palette starts nothing (set after adding a step and after double clicks). ProgrammaticChange:
// raised while the program itself moves the brightness slider or the play cursor; then slider
// changes neither repaint nor mark the project modified.
struct EditFlags {
    bool SuppressDrag = false;
    int ProgrammaticChange = 0;
};

// The main window's edit commands as operations on the project: each goes through the step
// operations (one undo state per command where the command saves one) and leaves the dialogs,
// boxes, status panels and repaints to the window. UI thread only.

// Cut/copy of the current line's selection into the line clipboard, then everything deselected.
// Cut clears the current and anchor step.
int CutSteps(ProjectData& project, StepCursor& cursor);
int CopySteps(ProjectData& project);
int PasteSteps(ProjectData& project, StepCursor& cursor, int32_t cursorTime);

// Adds a step of the given colour, brightness 0, at time t (undo state saved).
void AddColourStep(ProjectData& project, StepCursor& cursor, int32_t colour, int32_t t);
// Adds a step at t that leaves the line's look unchanged: black, brightness 0 before the first
// step; the line's evaluated colour between two steps; the earlier step's colour and brightness
// after the last one.
void AddBlankStep(ProjectData& project, StepCursor& cursor, int32_t t);

// Deletes the selected steps of all lines; clears the current and anchor step.
int DeleteSteps(ProjectData& project, StepCursor& cursor);
// Frees every step of the current line (after the user confirmed), undo state saved.
void DeleteAllSteps(ProjectData& project, StepCursor& cursor);
// Selects every step of the current line; returns the selected count of all lines.
int SelectAllSteps(ProjectData& project);

// Gives every selected step of every line and the current step the colour: one undo state.
// False (nothing changed) when there is neither.
bool RecolourSteps(ProjectData& project, StepCursor& cursor, int32_t colour);
// The time the step time dialog opens with: the current step's, else the earliest selected one;
// nullopt when there is neither.
std::optional<int32_t> StepTimeToEdit(const ProjectData& project, const StepCursor& cursor);
// Gives every selected step and the current step time v: one undo state. False with nothing
// changed when v < 0, v > soundLength or there is nothing to retime (the caller beeps).
bool RetimeSteps(ProjectData& project, StepCursor& cursor, int32_t v, int32_t soundLength);
// Moves the current step to the cursor time (undo state saved); false without a current step.
bool MoveCurrentToCursor(ProjectData& project, StepCursor& cursor, int32_t cursorTime);
// The answer of "copy from line": 1..8 saves an undo state and copies that line into the current
// one (nothing more when it is the current line or empty). False when the answer is refused.
bool CopyFromLine(ProjectData& project, StepCursor& cursor, std::string_view answer);

// Multi-line commands.
int CutMulti(ProjectData& project, StepCursor& cursor);
int CopyMulti(ProjectData& project);
int PasteMulti(ProjectData& project, StepCursor& cursor, int32_t cursorTime);
void SelectAllMulti(ProjectData& project);
int AlignMulti(ProjectData& project, StepCursor& cursor);
// The answers of the two stretch boxes: empty → nothing, not a number → refused, |x| within 10
// (time) or 4 (brightness) → the stretch with its undo state. True when it ran.
bool StretchTimeMulti(ProjectData& project, StepCursor& cursor, std::string_view answer,
                      const TimeLimits& limits);
bool StretchBrightnessMulti(ProjectData& project, std::string_view answer);

// The current step of the current line, or null (a stale index past the end reads as none).
const Step* CurrentStepOf(const ProjectData& project, const StepCursor& cursor);
// Brightness slider: sets the current step's brightness (clamped) without an undo state; marks
// the project modified unless programmatic. False without a current step.
bool SetCurrentBrightness(ProjectData& project, const StepCursor& cursor, int32_t brightness,
                          bool programmatic);
// The zero action: undo state, brightness 0, modified. False without a current step.
bool ZeroCurrentBrightness(ProjectData& project, const StepCursor& cursor);
// The palette: the current step's base colour; an undo state only when saveUndo (the press, not
// the moves that follow). Modified. False without a current step.
bool SetCurrentColour(ProjectData& project, const StepCursor& cursor, int32_t colour,
                      bool saveUndo);

}  // namespace lumavox
