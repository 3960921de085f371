#pragma once

#include <array>

#include "editor/logic/PaneGeometry.h"

namespace lumavox {

// Where the eight line tabs stand in the strip left of the line editor pane (their text runs
// downwards). One column of tabs as long as their text needs while all eight fit with room for
// "Line n"; otherwise, and always below 336 px, two columns of four (lines 1-4 on the left), each
// tab h / 4 - 2 long with 2 px between tabs. A tab too short for "Line n" shows the number alone.
// Every tab lies inside the strip from 12 px of height up. Pure, any thread.
struct LineTabLayout {
    static constexpr int kTabs = 8;
    static constexpr int kTwoColumnsBelow = 336;

    int Columns = 1;
    int Length = 1;            // of each tab along the strip
    bool ShortLabels = false;  // the number alone
    std::array<PixelRect, kTabs> Tabs{};

    // The tab holding a point, or -1.
    int TabAt(int x, int y) const;
};

// textLength: the width of the widest full label ("Line 8" in the bold face of the current tab).
LineTabLayout LineTabs(int height, int width, int textLength);

}  // namespace lumavox
