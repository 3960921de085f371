#pragma once

#include <cstdint>

namespace lumavox {

// A colour monitor panel's bounds in the monitor's client area.
struct PanelBounds {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Width = 0;
    int32_t Height = 0;

    bool operator==(const PanelBounds&) const = default;
};

// Bounds held to what a window system can place: positions within ±kBoundsLimit, sizes 1..
// kBoundsLimit. Stored arrangements are hand-editable, and scaling may meet extreme factors.
inline constexpr int32_t kBoundsLimit = 1 << 20;
PanelBounds LimitBounds(const PanelBounds& bounds);

// Panel i (0..7) of the initial arrangement: two rows of four 100 × 100 panels, 110 px apart,
// 10 px from the client's corner.
PanelBounds InitialPanelBounds(int index);

// The reference a monitor panel scales from: its bounds and the monitor's client size when the
// reference was last taken. Scaling always starts from the reference, so resizing the monitor
// back and forth returns every panel exactly to its bounds. UI thread only.
class MonitorScale {
public:
    // parentWidth/parentHeight: the monitor's client size, 0 when the panel has no parent.
    void Take(const PanelBounds& panel, int32_t parentWidth, int32_t parentHeight);

    // True when the panel's position no longer follows from the reference at this client size:
    // the user moved it, and the reference must be taken again.
    bool UserMoved(const PanelBounds& panel, int32_t clientWidth, int32_t clientHeight) const;

    // The panel's bounds for a monitor client of this size (limited); an axis whose reference
    // parent size is 0 keeps the panel's present values.
    PanelBounds Scaled(const PanelBounds& panel, int32_t clientWidth, int32_t clientHeight) const;

    double RefTop() const { return m_top; }
    double RefLeft() const { return m_left; }
    double RefWidth() const { return m_width; }
    double RefHeight() const { return m_height; }
    double RefParentWidth() const { return m_parentWidth; }
    double RefParentHeight() const { return m_parentHeight; }

private:
    double m_top = 0;
    double m_left = 0;
    double m_width = 0;
    double m_height = 0;
    double m_parentWidth = 0;
    double m_parentHeight = 0;
};

}  // namespace lumavox
