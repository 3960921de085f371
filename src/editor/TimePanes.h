#pragma once

#include <QObject>
#include <QPoint>
#include <QString>
#include <vector>

#include "editor/logic/BeatMarks.h"
#include "editor/logic/EditorContext.h"
#include "editor/logic/PaneState.h"
#include "model/StepOps.h"

namespace lumavox {

class TimePane;

// The time panes of the main window as one group: the shared time line (scroll, zoom, cursor), the
// pane state, repainting, and the requests the panes make of the main window (status texts, the
// brightness slider, pop-up menus, the step colour command). The main window owns it, registers
// each pane, connects the signals and calls Relayout/DisplayTick/SetScroll. UI thread only.
class TimePanes : public QObject {
    Q_OBJECT
public:
    TimePanes(EditorContext& context, PaneState& state, QObject* parent = nullptr);

    EditorContext& Context() const { return m_ctx; }
    PaneState& State() const { return m_state; }
    TimeLine& Line() const { return m_ctx.timeLine; }

    void Register(TimePane* pane);
    void Unregister(TimePane* pane);

    // --- called by the main window ---
    // The layout step: zoom, scroll range, fit zoom, cursor; emits scrollChanged and panel 2.
    void Relayout(int visibleWidth);
    // One display tick: a repeat restart scrolls to the sound start, then the cursor line moves
    // (page follow only while the sound plays).
    void DisplayTick();
    // The scroll bar moved.
    void SetScroll(int l);
    // The steps, the current line or the colours changed: every pane re-renders.
    void InvalidateAll();
    // Cursor line only (after a locate from the keyboard or a pane).
    void UpdateCursor();
    bool ZoomIn();
    bool ZoomOut();
    bool ZoomFit();
    // Ctrl+wheel over a pane: one zoom step in or out, keeping the time at content x under the
    // pointer (the zoom commands keep the play cursor instead).
    bool ZoomAtPointer(bool in, int contentX);
    // The amplitude zoom of the waveform panes (1, 2, 4, 8, 16); the peaks stay as they are.
    int WaveGain() const { return m_waveGain; }
    void SetWaveGain(int gain);
    // Tabs (deselect = true) and the line pop-up (false): the line becomes current, no current
    // step; panel 3 counts the new line's selection.
    void SetCurrentLine(int line, bool deselectAll);
    // Step-changing commands must not run while this is true (a drag or band holds steps).
    bool StepEditLocked() const { return m_state.Busy(); }
    // After commands that replace or free steps (undo, cut, delete, paste, group load).
    void StepsReplaced();
    // Ends any drag or band at once (its release was lost, or the project was replaced).
    void DropGestures();

    // Keyboard commands on the current step.
    bool CanChangeBrightness() const;
    void BrightnessUp();
    void BrightnessDown();
    bool CanNextStep() const;
    bool CanPrevStep() const;
    void NextStep();
    void PrevStep();
    // Left / Right: 0.1 s back or forward from the device position, then seek.
    void PrevTime();
    void NextTime();

    // --- used by the panes ---
    bool SoundLoaded() const;  // frame count > 0
    bool Playing() const;
    bool Painting() const;  // not closing and the engine's SoundLoaded
    TimeLimits Limits() const;
    // The onsets and beats a moved step snaps to (the main window's, for the window's life).
    void SetBeatMarks(const BeatMarks* marks) { m_marks = marks; }
    // The time a step dragged to content x goes to: snapped to the nearest onset or beat while
    // snapping is on, unless Alt is held.
    int32_t DragTime(int x, Qt::KeyboardModifiers mods) const;
    int CurrentLineIndex() const;
    const TStepList* CurrentList() const;
    void SetDragLine(int x);
    // The drag's steps are still in the current line; otherwise (a command replaced them) the
    // drag ends here, so no handler reads through a freed step.
    bool DragAlive();
    void Locate(int32_t t);
    // A left drag off the steps in the waveform panes and the mark bar: while the sound stands
    // still the play cursor goes to content x (the engine seeks when that lies inside the sound),
    // then the current step follows the pointer. cursorHeld keeps the cursor where it is (the
    // waveform panes while the program itself locates).
    void Scrub(int x, bool cursorHeld);
    // The selection of a press on step `index` of the current line (none, Shift, Ctrl rules);
    // ctrlShiftKeeps: the mark bar's Ctrl+Shift leaves the selection alone.
    void SelectOnPress(int index, Qt::KeyboardModifiers mods, bool ctrlShiftKeeps);
    void ShowStepTime(const Step* step);  // panel 1
    // The brightness slider shows the step's brightness; picking a step changes nothing, so the
    // slider's own handler must not mark the project modified.
    void ShowStepBrightness(const Step* step);
    void ShowSelection(bool withAll);  // panel 3
    void RepaintCursorStrip(int oldX, int newX);
    // Overlays changed in every pane (drag line, outlines) without content changes.
    void UpdateOverlays();
    // Invalidates columns x - 16..x + 16 of the mark bar, line pane and strip.
    void InvalidateAround(int x);

signals:
    void statusText(int panel, const QString& text);
    // The brightness slider should show this brightness; programmatic: do not mark modified.
    void sliderBrightness(int brightness, bool programmatic);
    // L, the largest L and the page size for the one horizontal scroll bar.
    void scrollChanged(int l, int maxL, int page);
    void stepMenuRequested(const QPoint& globalPos);
    void emptyMenuRequested(const QPoint& globalPos);
    void propStepRequested();
    void paletteRefreshRequested();
    void currentLineChanged(int line);
    void modifiedChanged();
    void zoomChanged();
    void waveGainChanged(int gain);

private:
    void AfterScroll();
    // The current step becomes the one under the pointer.
    void FollowPointer(int x);

    EditorContext& m_ctx;
    PaneState& m_state;
    std::vector<TimePane*> m_panes;
    const BeatMarks* m_marks = nullptr;
    int m_waveGain = 1;
};

}  // namespace lumavox
