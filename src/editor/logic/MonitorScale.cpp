#include "editor/logic/MonitorScale.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace lumavox {

int32_t TruncToInt32(double value) {
    if (!(value == value)) return 0;
    const double t = std::trunc(value);
    if (t <= static_cast<double>(std::numeric_limits<int32_t>::min())) {
        return std::numeric_limits<int32_t>::min();
    }
    if (t >= static_cast<double>(std::numeric_limits<int32_t>::max())) {
        return std::numeric_limits<int32_t>::max();
    }
    return static_cast<int32_t>(t);
}

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
    if (m_parentHeight > 0 && TruncToInt32(clientHeight / m_parentHeight * m_top) != panel.Top) {
        return true;
    }
    return m_parentWidth > 0 && TruncToInt32(clientWidth / m_parentWidth * m_left) != panel.Left;
}

PanelBounds MonitorScale::Scaled(const PanelBounds& panel, int32_t clientWidth,
                                 int32_t clientHeight) const {
    PanelBounds out = panel;
    if (m_parentHeight > 0) {
        const double fy = clientHeight / m_parentHeight;
        out.Top = TruncToInt32(m_top * fy);
        out.Height = TruncToInt32(fy * m_height);
    }
    if (m_parentWidth > 0) {
        const double fx = clientWidth / m_parentWidth;
        out.Left = TruncToInt32(m_left * fx);
        out.Width = TruncToInt32(fx * m_width);
    }
    return LimitBounds(out);
}

}  // namespace lumavox
