#include "editor/logic/LineTabGeometry.h"

#include <gtest/gtest.h>

namespace lumavox {
namespace {

constexpr int kWidth = 50;
constexpr int kText = 43;  // "Line 8" in a 15-px face: tabs of 59 px, 47 px the least for it

// Every tab inside the strip, none overlapping another, each found again at its centre.
void ExpectReachable(const LineTabLayout& t, int height) {
    const PixelRect strip{0, 0, kWidth, height};
    for (int i = 0; i < LineTabLayout::kTabs; ++i) {
        const PixelRect& r = t.Tabs[static_cast<size_t>(i)];
        EXPECT_GT(r.W, 0) << "height " << height << " tab " << i;
        EXPECT_GT(r.H, 0) << "height " << height << " tab " << i;
        EXPECT_TRUE(strip.Covers(r)) << "height " << height << " tab " << i;
        EXPECT_EQ(t.TabAt(r.X + r.W / 2, r.Y + r.H / 2), i) << "height " << height;
    }
}

TEST(LineTabGeometry, AllEightTabsStayInsideTheStripAtEveryHeight) {
    for (int height = 12; height <= 1200; ++height) {
        ExpectReachable(LineTabs(height, kWidth, kText), height);
    }
}

TEST(LineTabGeometry, OneColumnOnlyWhileEveryTabHoldsItsText) {
    // Below 336 px always two columns of h / 4 - 2
    const LineTabLayout low = LineTabs(120, kWidth, kText);
    EXPECT_EQ(low.Columns, 2);
    EXPECT_EQ(low.Length, 28);
    EXPECT_TRUE(low.ShortLabels);  // "Line 5" does not fit 28 px: the number alone
    EXPECT_EQ(low.Tabs[4], (PixelRect{25, 0, 25, 28}));
    EXPECT_EQ(low.Tabs[3], (PixelRect{0, 90, 25, 28}));
    const LineTabLayout mid = LineTabs(200, kWidth, kText);
    EXPECT_EQ(mid.Length, 48);
    EXPECT_FALSE(mid.ShortLabels);
    EXPECT_EQ(LineTabs(336, kWidth, kText).Columns, 2);  // 42 px a tab in one column: too short
    // the reference line shown at 1280 x 1024: still two columns, filling the strip
    const LineTabLayout ref = LineTabs(352, kWidth, kText);
    EXPECT_EQ(ref.Columns, 2);
    EXPECT_EQ(ref.Length, 86);
    EXPECT_EQ(ref.Tabs[7].Bottom(), 350);
    // one column once 8 tabs of 47 px fit, as long as the text asks for when there is room
    const LineTabLayout tall = LineTabs(436, kWidth, kText);
    EXPECT_EQ(tall.Columns, 1);
    EXPECT_EQ(tall.Length, 54);
    EXPECT_EQ(tall.Tabs[7], (PixelRect{0, 378, kWidth, 54}));
    EXPECT_EQ(LineTabs(800, kWidth, kText).Length, 59);
    EXPECT_EQ(tall.TabAt(10, 433), -1);  // below the last tab
}

}  // namespace
}  // namespace lumavox
