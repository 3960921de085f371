#pragma once

#include "editor/logic/TimeLine.h"
#include "model/Step.h"

namespace lumavox {

class ProjectData;

// The editing state the time panes share: the current and anchor steps, the drag in progress, the
// drag line and the one-shot suppress flags of a double click. Steps are held by identity (their
// address, stable while they stay in their list), so re-sorting after a move, a stretch or a time
// edit keeps the step the user picked; indices are derived when needed (-1 when the step is gone).
// Owned by the main window beside the EditorContext; UI thread only.
struct PaneState {
    enum class Drag { None, Move, Brightness, Stretch };

    const Step* CurrentStep = nullptr;
    const Step* AnchorStep = nullptr;
    int DragLineX = TimeLine::kNoDragLine;
    bool SuppressDrag = false;
    bool SuppressBand = false;

    Drag DragMode = Drag::None;
    const void* DragOwner = nullptr;  // the pane that runs the drag (only it draws the outline)
    bool Moved = false;
    const Step* Dragged = nullptr;
    const Step* StretchFirst = nullptr;  // F and G of a stretch drag
    const Step* StretchLast = nullptr;
    bool BandActive = false;  // a rubber band in any pane
    // Raised by the main window while a playing locate or a slider sync runs (waveform scrubbing
    // waits for it to drop).
    int ProgrammaticChange = 0;
    bool Closing = false;  // the window is closing: panes paint nothing

    // A drag or band holds step addresses: step-changing commands must wait for its end.
    bool Busy() const { return DragMode != Drag::None || BandActive; }

    // Index of the current / anchor step in the current line, -1 when none or gone.
    int CurrentIndex(const ProjectData& project) const;
    int AnchorIndex(const ProjectData& project) const;
    // Makes `index` of the current line the current step (after moving the old one to the anchor
    // when withAnchor); -1 clears it.
    void SetCurrentIndex(const ProjectData& project, int index, bool withAnchor);
    // Drops the current / anchor step when it is no longer in the current line (after an undo, a
    // delete, a line change). Call after every command that frees or replaces steps.
    void Revalidate(const ProjectData& project);
    // Ends the drag state (not the band).
    void EndDrag();
};

}  // namespace lumavox
