#include "editor/BeatLane.h"

#include <QMouseEvent>

namespace lumavox {

BeatLane::BeatLane(TimePanes& panes, const BeatMarks& marks, QWidget* parent)
    : TimePane(panes, kCursor | kDragLine, parent), m_marks(marks) {
    setFixedHeight(kHeight);
}

void BeatLane::Render(PaneCanvas& c) {
    const int l = m_tl.L();
    const int e = l + m_tl.VisibleWidth();
    const int h = height();
    c.Fill(l, 0, m_tl.VisibleWidth(), h, kBackground);
    if (!m_marks.Known()) return;
    // Beats are drawn over the onsets: a hit on the beat shows as a beat.
    for (const int x : MarkColumns(m_marks.Onsets(), m_tl, l, e)) {
        c.Fill(x, h - kOnsetHeight, 1, kOnsetHeight, kOnsetColour);
    }
    for (const int x : MarkColumns(m_marks.Beats(), m_tl, l, e)) c.Fill(x, 0, 1, h, kBeatColour);
}

void BeatLane::mousePressEvent(QMouseEvent* event) {
    if (!BeginPress(event) || event->button() != Qt::LeftButton || !m_panes.SoundLoaded()) return;
    m_panes.Locate(m_tl.XToTime(ContentX(event->position())));
}

}  // namespace lumavox
