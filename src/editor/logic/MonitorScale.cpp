#include "editor/logic/MonitorScale.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "editor/logic/Truncate.h"
namespace lumavox {

PanelBounds LimitBounds(const PanelBounds& bounds) {
    return {std::clamp(bounds.Left, -kBoundsLimit, kBoundsLimit),
            std::clamp(bounds.Top, -kBoundsLimit, kBoundsLimit),
            std::clamp(bounds.Width, 1, kBoundsLimit), std::clamp(bounds.Height, 1, kBoundsLimit)};
}

PanelBounds InitialPanelBounds(int index) {
    return {(index % 4) * 110 + 10, (index / 4) * 110 + 10, 100, 100};
}

void MonitorScale::Take(const PanelBounds& panel, int32_t parentWidth, int32_t parentHeight) {
    m_top = panel.Top;
    m_left = panel.Left;
    m_width = panel.Width;
    m_height = panel.Height;
    m_parentWidth = parentWidth;
    m_parentHeight = parentHeight;
}

bool MonitorScale::UserMoved(const PanelBounds& panel, int32_t clientWidth,
                             int32_t clientHeight) const {
    if (m_parentHeight > 0 && TruncToInt(clientHeight / m_parentHeight * m_top) != panel.Top) {
        return true;
    }
    return m_parentWidth > 0 && TruncToInt(clientWidth / m_parentWidth * m_left) != panel.Left;
}

PanelBounds MonitorScale::Scaled(const PanelBounds& panel, int32_t clientWidth,
                                 int32_t clientHeight) const {
    PanelBounds out = panel;
    if (m_parentHeight > 0) {
        const double fy = clientHeight / m_parentHeight;
        out.Top = TruncToInt(m_top * fy);
        out.Height = TruncToInt(fy * m_height);
    }
    if (m_parentWidth > 0) {
        const double fx = clientWidth / m_parentWidth;
        out.Left = TruncToInt(m_left * fx);
        out.Width = TruncToInt(fx * m_width);
    }
    return LimitBounds(out);
}

}  // namespace lumavox
