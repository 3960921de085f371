#include "editor/OutputStrip.h"

#include "model/ColourEval.h"

namespace lumavox {

OutputStrip::OutputStrip(TimePanes& panes, QWidget* parent) : TimePane(panes, kCursor, parent) {
    setFixedHeight(30);
}

void OutputStrip::Render(PaneCanvas& c) {
    const int l = m_tl.L();
    const int e = m_tl.RightEnd();
    if (e <= l) return;
    const int h = height();
    c.Fill(l, 0, e - l, h, qRgb(0, 0, 0));
    const TStepList* list = m_panes.CurrentList();
    if (list == nullptr) return;
    ForEachColumnColour(*list, l, e, [&](int x, const LineColour& lc) {
        c.Fill(x, 0, 1, h, PixelOf(ApplyBrightness(lc.Colour, lc.Brightness)));
    });
}

}  // namespace lumavox
