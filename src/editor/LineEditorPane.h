#pragma once

#include <QPoint>
#include <QRect>

#include "editor/RubberBand.h"
#include "editor/TimePane.h"

namespace lumavox {

// The line editor pane: the current line as a colour band that rises and falls with brightness,
// its steps as markers; selection, move and brightness drags, rubber band, double click and wheel.
// Brightness drags do nothing while the pane is under 2 px high (it keeps a minimum height).
class LineEditorPane : public TimePane {
    Q_OBJECT
public:
    LineEditorPane(TimePanes& panes, QWidget* parent = nullptr);

    QSize minimumSizeHint() const override { return {16, 32}; }
    bool BandActive() const { return m_band.Active(); }
    QRect BandRect() const { return m_band.Rect(); }

protected:
    void Render(PaneCanvas& c) override;
    void PaintOverlays(QPainter& p) override;
    void mousePressEvent(QMouseEvent* event) override;
    void DropGesture() override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    int M() const { return height() / 2; }
    int PointerY(const QPointF& pos) const;
    QRect OutlineBounds() const;

    QPoint m_last;  // content x, pane y of the last press or move
    // Of the drag on a step: the y it started at (the marker centre), whether the pointer has
    // left that y, whether a step has changed. A click without vertical movement writes nothing.
    int m_dragStartY = 0;
    bool m_movedVertically = false;
    bool m_dragChanged = false;
    RubberBand m_band;
};

}  // namespace lumavox
