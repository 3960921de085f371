#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "model/ProjectData.h"
#include "model/Step.h"

namespace lumavox {

// The bounds of the time line for operations that move or stretch steps: from -PrePlayTime to
// SoundLength + PostPlayTime. The values are the engine's working ones, passed in by the caller.
struct TimeLimits {
    int32_t PrePlayTime = 0;
    int32_t PostPlayTime = 0;
    int32_t SoundLength = 0;

    int32_t Min() const;  // -PrePlayTime, saturated to the int32 range
    int32_t Max() const;  // SoundLength + PostPlayTime, saturated to the int32 range
    // Below Min() gives Min(), else above Max() gives Max().
    int32_t Clamp(int64_t time) const;
};

// Every operation that changes the steps of a project, with its undo. All of them keep each line
// sorted by Time with consistent Lengths (Normalise), LineIndex equal to the line, and Brightness
// within -255..255, and they change lines only through TStepList::Edit in short mutations, so the
// output thread may evaluate colours meanwhile. Operations on "the current line" use
// ProjectData::CurrentLine and do nothing when it lies outside 0..7. Time arithmetic saturates at
// the int32 range instead of overflowing.
//
// UI thread only.

// --- queries ---

// Step i of the current line, or null when i is out of range.
const Step* StepAt(const ProjectData& project, int i);
int SelectedCountInLine(const ProjectData& project);  // in the current line
int SelectedCount(const ProjectData& project);        // in all lines
int StepCount(const ProjectData& project);            // in all lines

// --- maintenance ---

// Sorts every line by Time and sets each Length to the distance to the next step (0 for the last).
void Normalise(ProjectData& project);
// Pushes a copy of every step of all lines (line 0 first) to the front of the undo list, which
// keeps at most TUndoList::kMaxUndoStates of them within TUndoList::kMaxUndoBytes. A new change
// begins here, so the redo states end.
void SaveUndoState(ProjectData& project);
// Restores the newest saved state and drops it, and sets Modified. Nothing when there is none.
// The state it replaces goes to the front of the redo list.
void Undo(ProjectData& project);
// True when a state left by Undo can be brought back: there is one and the lines have not been
// edited since the last undo or redo (a brightness wheel turn, which saves no undo state, counts).
bool CanRedo(const ProjectData& project);
// Brings back the state the last Undo replaced, pushing the present one to the undo list as a
// change would, and sets Modified. Nothing when CanRedo is false.
void Redo(ProjectData& project);
// Empties the undo and the redo list.
void ClearUndo(ProjectData& project);
// Frees every step of line i (nothing for i outside 0..7). No undo state, Modified unchanged.
void ClearLine(ProjectData& project, int line);

// --- selection (edit state: Modified unchanged) ---

// Selected = value for every step of the current line, or of all lines when allLines.
void SetSelection(ProjectData& project, uint8_t value, bool allLines);
// Deselects the current line, then selects steps a..b (either order) when both lie in the line, or
// step b alone when a is -1.
void SelectRange(ProjectData& project, int a, int b);

// --- editing ---

// Where AddStep puts the new step: at the given time (any value, -1 ms included), or after the end
// of the line (last Time + its Length, or 0 in an empty line), the time argument then unused.
enum class StepPlacement { AtTime, AfterLineEnd };

// Appends a new step (every byte zero but the named fields) to the current line. Returns the
// line's new count, or 0 when there is no valid current line.
int AddStep(ProjectData& project, int32_t colour, int32_t brightness, int32_t time, int32_t length,
            bool saveUndo, StepPlacement placement = StepPlacement::AtTime);
// Delete the selected steps of the current line / of all lines, saving an undo state first.
// Return the number deleted; nothing at all (no undo state) when none is selected.
int DeleteSelectedInLine(ProjectData& project);
int DeleteSelected(ProjectData& project);
// Saves an undo state and frees every step of the current line.
void ClearCurrentLine(ProjectData& project);
// Replace LineClipboard by deselected copies of the current line's selected steps (when there are
// any), and delete them from the line when cut. Return the number copied.
int CopyLine(ProjectData& project, bool cut);
// The same over all lines into MultiLineClipboard; the copies keep their LineIndex.
int CopyMulti(ProjectData& project, bool cut);
// Inserts the line clipboard into the current line so that its first step lands at t.
int PasteLine(ProjectData& project, int32_t t);
// Inserts the multi-line clipboard into the lines its steps came from, its earliest step at t.
int PasteMulti(ProjectData& project, int32_t t);
// Shifts every selected step by deltaMs, stopping 1 ms short of the time of the unselected step it
// approaches; with noPass it never passes that step. Clamped to the limits. No undo state (the
// caller saves one when a drag begins). Returns the number of steps moved.
int MoveSelected(ProjectData& project, int32_t deltaMs, bool noPass, const TimeLimits& limits);
// Stretch drag about an anchor on the current line: a and b are the first and last selected steps
// of the line (whose DragOrigin holds their Time at the start of the drag), dragged is a, b or
// neither; the caller has set the dragged anchor's new Time and passes
// x = (new Time of dragged - DragOrigin of the other) / (DragOrigin of dragged - DragOrigin of the
// other). Every other selected step is recomputed from its DragOrigin; then all selected steps of
// the line are clamped. No undo state. Returns the number of selected steps in the line.
int AnchoredStretch(ProjectData& project, const Step* a, const Step* b, const Step* dragged,
                    double x, const TimeLimits& limits);
// Saves an undo state (also with nothing selected), then scales every selected step's distance
// from the earliest selected step by x (negative x mirrors), clamped. Returns the number stretched.
int StretchSelected(ProjectData& project, double x, const TimeLimits& limits);
// Multiplies the brightness of every selected step by x, truncated and limited to -255..255.
int ScaleBrightness(ProjectData& project, double x);
// Gives every selected step the time of the first selected step in line order (line 0 first).
int AlignSelected(ProjectData& project);
// Replaces line dst by copies of line src (LineIndex = dst). No undo state. Returns dst's count, or
// 0 with nothing changed when src or dst is out of range, src = dst or src is empty.
int CopyLineFrom(ProjectData& project, int src, int dst);

// --- single steps and the editor's direct edits ---
//
// A step is named by its address (stable while it stays in its list, across sorting); an address
// that is not in the named line (or, where no line is named, in any line) changes nothing. These
// leave Modified and the undo list alone: the editor marks the project modified and saves undo
// states itself, at the moments its commands define (a wheel turn marks it even when nothing
// changed; a drag saves one state when it begins).

// The index of step in line, or -1 when line is out of range or the step is not in it.
int IndexOfStep(const ProjectData& project, int line, const Step* step);
// The line that holds step, or -1.
int LineOfStep(const ProjectData& project, const Step* step);
// Return whether the step was found.
bool SetStepColour(ProjectData& project, int line, const Step* step, int32_t colour);
bool SetStepBrightness(ProjectData& project, int line, const Step* step, int32_t brightness);
bool SetStepSelected(ProjectData& project, int line, const Step* step, bool selected);
// Sets the time (saturated to nothing: the caller passes a time within its limits), then
// Normalise, so the step may change its index.
bool SetStepTime(ProjectData& project, int line, const Step* step, int32_t time);
// Adds delta to the brightness of every selected step of every line and of current (which may be
// null or selected too: each step changes once), each clamped to -255..255 on its own. Returns
// the number of steps visited.
int OffsetBrightness(ProjectData& project, int32_t delta, const Step* current);
// Give every selected step of every line, and current, the colour / the time (then Normalise).
int SetColourOfSelectedAnd(ProjectData& project, const Step* current, int32_t colour);
int SetTimeOfSelectedAnd(ProjectData& project, const Step* current, int32_t time);
// Selects the given steps (of any line); addresses in no line are skipped. Returns the number
// newly selected.
int SelectSteps(ProjectData& project, std::span<const Step* const> steps);
// Every selected step of the current line copies its Time into DragOrigin (start of a mark-bar
// drag).
void StoreDragOrigins(ProjectData& project);
bool SetMarks(ProjectData& project, const Step* step, int32_t markX, int32_t markY);
// The time of the earliest selected step of all lines, none when nothing is selected.
std::optional<int32_t> EarliestSelectedTime(const ProjectData& project);
// The first and the last selected step of the current line in list order (null when none).
struct SelectedEnds {
    const Step* First = nullptr;
    const Step* Last = nullptr;
};
SelectedEnds FirstLastSelectedInLine(const ProjectData& project);

// Moves every step of every line by deltaMs (saturated, not clamped: the caller checks the time
// line first), then Normalise and Modified. No undo state. Returns the number of steps moved.
int ShiftAllSteps(ProjectData& project, int32_t deltaMs);

// Saturating int32 arithmetic for step times.
int32_t SaturateTime(int64_t time);

}  // namespace lumavox
