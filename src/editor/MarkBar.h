#pragma once

#include "editor/TimePane.h"

namespace lumavox {

// The mark bar (46 px): the ruler and the current line's markers in their base colours. Here step
// times are edited: a press picks and selects, a drag moves the selection, Ctrl+Shift on the first
// or last selected step stretches it; a press off the steps locates and a drag scrubs. The wheel
// zooms (Ctrl) or scrolls.
class MarkBar : public TimePane {
    Q_OBJECT
public:
    static constexpr int kHeight = 46;
    explicit MarkBar(TimePanes& panes, QWidget* parent = nullptr);
    QSize sizeHint() const override { return {100, kHeight}; }

protected:
    void Render(PaneCanvas& c) override;
    void PaintOverlays(QPainter& p) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    int m_lastX = 0;
};

}  // namespace lumavox
