#include "editor/RubberBand.h"

#include <QPainter>
#include <QWidget>

#include "editor/logic/PaneState.h"
#include "editor/logic/TimeLine.h"

namespace lumavox {

RubberBand::RubberBand(QWidget& pane, const TimeLine& timeLine, PaneState& state)
    : m_pane(pane), m_tl(timeLine), m_state(state) {}

void RubberBand::Start(int x, int y) {
    m_active = true;
    m_state.BandActive = true;
    m_anchorX = x;
    m_anchorY = y;
    m_rect = QRect();
}

void RubberBand::Extend(int x, int y) {
    if (!m_active) return;
    const PixelRect r = SpanRect(m_anchorX, m_anchorY, x, y);
    MoveTo(QRect(r.X, r.Y, r.W, r.H));
}

PixelRect RubberBand::Finish() {
    const PixelRect area{m_rect.x(), m_rect.y(), m_rect.width(), m_rect.height()};
    Drop();
    return area;
}

void RubberBand::Drop() {
    if (m_active) m_state.BandActive = false;
    m_active = false;
    MoveTo(QRect());
}

void RubberBand::Paint(QPainter& p) const {
    if (!m_active) return;
    p.setPen(Qt::white);
    p.setBrush(Qt::NoBrush);
    p.drawRect(m_rect.adjusted(0, 0, -1, -1));
}

void RubberBand::MoveTo(const QRect& next) {
    // The outline is one pixel wide on the rectangle's edge: a one-pixel margin covers it.
    const int l = m_tl.L();
    for (const QRect& r : {m_rect, next}) {
        if (!r.isNull()) m_pane.update(r.translated(-l, 0).adjusted(-1, -1, 1, 1));
    }
    m_rect = next;
}

}  // namespace lumavox
