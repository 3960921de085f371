#pragma once

#include <QRect>

#include "editor/logic/PaneGeometry.h"

class QPainter;
class QWidget;

namespace lumavox {

struct PaneState;

// The rubber band of a time pane: the rectangle from the press point to the pointer, in content
// coordinates, drawn inverted over the pane; a move repaints only where it was and where it is.
// While it runs the pane state's BandActive holds step commands back. Owned by its pane; UI
// thread only.
class RubberBand {
public:
    RubberBand(QWidget& pane, const TimeLine& timeLine, PaneState& state);

    bool Active() const { return m_active; }
    QRect Rect() const { return m_rect; }  // normalised; null until the pointer moves
    void Start(int x, int y);
    // The pointer is at content (x, y); nothing while no band runs.
    void Extend(int x, int y);
    // Ends the band and returns the area it spanned, for the pane to pick its steps in.
    PixelRect Finish();
    // Forgets the band without picking (its release was lost).
    void Drop();
    // The outline, when a band runs; the painter is set up for inverted drawing at content x.
    void Paint(QPainter& p) const;

private:
    void MoveTo(const QRect& next);

    QWidget& m_pane;
    const TimeLine& m_tl;
    PaneState& m_state;
    bool m_active = false;
    int m_anchorX = 0;
    int m_anchorY = 0;
    QRect m_rect;
};

}  // namespace lumavox
