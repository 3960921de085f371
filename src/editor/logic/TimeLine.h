#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "editor/logic/Truncate.h"
#include "model/TStepList.h"

namespace lumavox {

// The horizontal coordinate every time pane of the editor shares: time <-> content x, the zoom
// (FrameZoom = pixels per 10-ms frame), the scroll range R and position L, the play cursor's x, and
// the hit candidates of a pointer x. Every float-to-int conversion truncates toward zero and
// saturates at the int range. Owned by the main window (through EditorContext); UI thread only.
// Invariant: PixelsPerMs() > 0 (FitZoom is only taken from a width above 0).
class TimeLine {
public:
    static constexpr std::array<double, 14> kZoomLevels{
        0.0001, 0.0005, 0.001, 0.005, 0.01, 0.025, 0.05, 0.1, 0.25, 0.5, 1, 1.5, 2, 4};
    static constexpr double kInitialZoom = 0.25;
    static constexpr int kCandidateReach = 8;  // a step is a candidate when under 8 px away
    static constexpr int kNoDragLine = -99999;

    struct LayoutInput {
        int32_t CursorTime = 0;
        int32_t PrePlayTime = 0;
        int32_t PostPlayTime = 0;
        int32_t FrameCount = 0;  // peak frames of the loaded sound, 0 when none
        int32_t TimelineLength = 0;
        int VisibleWidth = 0;
    };

    // What a display tick's cursor update did.
    struct CursorMove {
        bool Moved = false;  // CursorX changed: repaint OldX and NewX
        int OldX = 0;
        int NewX = 0;
        bool Scrolled = false;  // page follow moved L: repaint everything
    };

    double FrameZoom() const { return m_frameZoom; }
    double PixelsPerMs() const { return m_ppm; }
    double FitZoom() const { return m_fitZoom; }
    int L() const { return m_l; }
    int R() const { return m_r; }
    int CursorX() const { return m_cursorX; }
    int VisibleWidth() const { return m_width; }
    int32_t PrePlayTime() const { return m_pre; }
    int32_t FrameCount() const { return m_frameCount; }
    bool Loaded() const { return m_frameCount > 0; }
    // Largest L the scroll bar allows: max(0, R - visible width).
    int MaxL() const;

    int TimeToX(int32_t t) const;     // trunc((t + Pre) * ppm)
    int32_t XToTime(int x) const;     // trunc(x / ppm) - Pre
    double XToFrame(int x) const;     // (x - Pre * ppm) / FrameZoom
    bool FrameShown(double f) const;  // f >= 0 and trunc(f) < frame count
    int RightEnd() const;             // E = min(L + width, trunc(TimelineLength * ppm))
    int ClampX(int x) const;          // into [0, R]
    // The pointer rule: content x of a pane-local x (plus a drag offset), clamped to [0, R].
    int PointerX(int localX, int offset = 0) const;
    // Index of the k-th step (k from 0, list order) whose trunc(Time * ppm) lies under 8 px from
    // trunc(x - Pre * ppm), or -1.
    int Candidate(TStepList::View items, int x, int k) const;

    // Recomputes ppm, CursorX, R, FitZoom (only while the width is above 0) and L, keeping the
    // cursor at its distance from the left edge.
    void Layout(const LayoutInput& in);
    // Sets L within [0, MaxL()]; returns whether it changed.
    bool SetL(int l);
    void SetVisibleWidth(int width);  // without a layout (the scroll bar page)

    bool CanZoomIn() const;   // loaded and FrameZoom < 4
    bool CanZoomOut() const;  // loaded and FrameZoom > min(FitZoom, 0.001)
    bool CanZoomFit() const;  // loaded
    // Change FrameZoom only (when allowed); the caller then runs Layout. Return whether allowed.
    bool ZoomIn();
    bool ZoomOut();
    bool ZoomFit();

    // New x of the cursor; page follow (L += width) only while the sound plays.
    CursorMove CursorUpdate(int32_t cursorTime, bool soundPlaying);
    // L that shows time 0 16 px from the left edge (repeat restart, "to sound start").
    int SoundStartScroll() const;
    // L for "to sound end": R - width - trunc(Post * ppm) + 16, clamped.
    int SoundEndScroll(int32_t postPlayTime) const;
    // Scroll distance of one wheel notch over the mark bar: trunc(200 or 50 frames * FrameZoom).
    int WheelScroll(bool shift) const;

    // Status panel 2 after a layout: "スケール= 0.250".
    std::string ScaleText() const;
    // After a zoom (and its layout) from oldFrameZoom: the L that brings content x anchorX of the
    // old scale back under the screen column it was shown at, anchorOffset pixels from the left
    // edge, clamped to [0, MaxL()]. The anchor scales by the ratio of the zooms (both are table
    // values, so 2 from 0.25 to 0.5 is exact) rather than through a truncated time.
    int AnchoredL(int anchorX, int anchorOffset, double oldFrameZoom) const;

private:
    double m_frameZoom = kInitialZoom;
    double m_ppm = kInitialZoom * 100 * 0.001;
    double m_fitZoom = 1.0;
    int m_l = 0;
    int m_r = 0;
    int m_cursorX = 0;
    int m_width = 0;
    int32_t m_pre = 0;
    int32_t m_frameCount = 0;
    int32_t m_timelineLength = 0;
};

}  // namespace lumavox
