#include "editor/logic/LineTabGeometry.h"

#include <algorithm>

namespace lumavox {

int LineTabLayout::TabAt(int x, int y) const {
    for (int i = 0; i < kTabs; ++i) {
        if (Tabs[static_cast<size_t>(i)].Contains(x, y)) return i;
    }
    return -1;
}

LineTabLayout LineTabs(int height, int width, int textLength) {
    LineTabLayout t;
    const int natural = textLength + 16;  // the automatic length of a tab
    const int needed = textLength + 4;    // the least that shows "Line n" whole
    if (height >= LineTabLayout::kTwoColumnsBelow && height / LineTabLayout::kTabs >= needed) {
        t.Length = std::min(natural, height / LineTabLayout::kTabs);
        for (int i = 0; i < LineTabLayout::kTabs; ++i) {
            t.Tabs[static_cast<size_t>(i)] = {0, i * t.Length, width, t.Length};
        }
        return t;
    }
    t.Columns = 2;
    t.Length = std::max(1, height / 4 - 2);
    t.ShortLabels = t.Length < needed;
    const int left = width / 2;
    for (int i = 0; i < LineTabLayout::kTabs; ++i) {
        const bool second = i >= 4;
        t.Tabs[static_cast<size_t>(i)] = {second ? left : 0, (i % 4) * (t.Length + 2),
                                          second ? width - left : left, t.Length};
    }
    return t;
}

}  // namespace lumavox
