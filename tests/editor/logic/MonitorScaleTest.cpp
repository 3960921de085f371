#include "editor/logic/MonitorScale.h"
#include "editor/logic/Truncate.h"

#include <gtest/gtest.h>

#include <limits>

namespace lumavox {
namespace {

TEST(MonitorScale, PanelReturnsExactlyToItsBoundsWhenTheMonitorReturnsToItsSize) {
    const PanelBounds panel{123, 77, 101, 99};
    MonitorScale scale;
    scale.Take(panel, 487, 331);

    PanelBounds now = panel;
    for (auto [w, h] : {std::pair{1000, 700}, {153, 101}, {974, 662}, {333, 997}, {487, 331}}) {
        now = scale.Scaled(now, w, h);
    }
    EXPECT_EQ(now, panel);

    const PanelBounds doubled = scale.Scaled(panel, 974, 662);
    EXPECT_EQ(doubled, (PanelBounds{246, 154, 202, 198}));
    // the reference is not moved by scaling
    EXPECT_EQ(scale.RefLeft(), 123);
    EXPECT_EQ(scale.RefParentWidth(), 487);
}

TEST(MonitorScale, MoveIsDetectedOnlyWhenThePositionNoLongerFollowsFromTheReference) {
    const PanelBounds panel{30, 40, 100, 100};
    MonitorScale scale;
    scale.Take(panel, 300, 200);
    const PanelBounds scaled = scale.Scaled(panel, 451, 281);
    EXPECT_FALSE(scale.UserMoved(scaled, 451, 281));
    EXPECT_FALSE(scale.UserMoved(panel, 300, 200));

    PanelBounds dragged = scaled;
    dragged.Left += 1;
    EXPECT_TRUE(scale.UserMoved(dragged, 451, 281));
    dragged = scaled;
    dragged.Top -= 1;
    EXPECT_TRUE(scale.UserMoved(dragged, 451, 281));
    // a resize alone is not a move
    dragged = scaled;
    dragged.Width += 20;
    EXPECT_FALSE(scale.UserMoved(dragged, 451, 281));
}

TEST(MonitorScale, ExtremeReferencesAndStoredBoundsStayPlaceable) {
    MonitorScale scale;
    scale.Take({1000000, -5, 1000000, 3}, 1, 1);
    EXPECT_EQ(scale.Scaled({}, 1000000, 1000000),
              (PanelBounds{kBoundsLimit, -kBoundsLimit, kBoundsLimit, kBoundsLimit}));
    EXPECT_EQ(LimitBounds({INT32_MIN, INT32_MAX, 0, -7}),
              (PanelBounds{-kBoundsLimit, kBoundsLimit, 1, 1}));
    EXPECT_EQ(TruncToInt(-1.9), -1);
    EXPECT_EQ(TruncToInt(std::numeric_limits<double>::quiet_NaN()), 0);
}

TEST(MonitorScale, InitialArrangementIsTwoRowsOfFour) {
    EXPECT_EQ(InitialPanelBounds(0), (PanelBounds{10, 10, 100, 100}));
    EXPECT_EQ(InitialPanelBounds(3), (PanelBounds{340, 10, 100, 100}));
    EXPECT_EQ(InitialPanelBounds(5), (PanelBounds{120, 120, 100, 100}));
}

}  // namespace
}  // namespace lumavox
