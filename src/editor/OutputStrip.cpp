#include "editor/OutputStrip.h"

#include <QPainter>

#include "model/ColourEval.h"

namespace lumavox {

OutputStrip::OutputStrip(TimePanes& panes, QWidget* parent) : TimePane(panes, kCursor, parent) {
    setFixedHeight(30);
}

void OutputStrip::Render(QPainter& p) {
    const int l = m_tl.L();
    const int e = m_tl.RightEnd();
    if (e <= l) return;
    const int h = height();
    p.fillRect(QRect(l, 0, e - l, h), Qt::black);
    const TStepList* list = m_panes.CurrentList();
    if (list == nullptr) return;
    ForEachColumnColour(*list, l, e, [&](int x, const LineColour& lc) {
        p.fillRect(QRect(x, 0, 1, h), Colour(ApplyBrightness(lc.Colour, lc.Brightness)));
    });
}

}  // namespace lumavox
