// The kinetic scrolling's arithmetic: release speed and its limit, the fling's decay and the
// halving beyond an end, the spring back, the picker's snap and the bar's geometry.

#include <gtest/gtest.h>

#include "widgets/scroll_physics.h"

namespace zentri::scroll {
namespace {

TEST(ScrollPhysics, ReleaseSpeedIsPixelsPer50MsWithinTheLimit) {
    EXPECT_DOUBLE_EQ(ReleaseSpeed(-200, 0.02, 1200), -500);
    EXPECT_DOUBLE_EQ(ReleaseSpeed(-400, 0.01, 1200), -1200);  // limited, sign kept
    EXPECT_DOUBLE_EQ(ReleaseSpeed(40, 2.0, 1200), 1);
    EXPECT_DOUBLE_EQ(ReleaseSpeed(30, 0, 1200), 1200);  // no measurable time
    EXPECT_DOUBLE_EQ(ReleaseSpeed(0, 0, 1200), 0);
}

TEST(ScrollPhysics, AFlingDecaysEachFrameUntilTheStopSpeed) {
    std::vector<int> p = FlingPositions(0, 10000, 600, -100, 19);
    ASSERT_EQ(p.size(), 33u);  // 100 * 0.95^k stays at 19 or above for k = 0..32
    EXPECT_EQ(std::vector<int>(p.begin(), p.begin() + 4),
              (std::vector<int>{-95, -185, -270, -352}));
    EXPECT_EQ(p.back(), -1550);
    EXPECT_TRUE(FlingPositions(0, 10000, 600, 18.9, 19).empty());
}

TEST(ScrollPhysics, AFlingHalvesItsSpeedBeyondAnEnd) {
    // Moving down past the top: 95 (halved to 47.5), then 45.1 -> 140 (22.6), 21.4 -> 161 (10.7).
    EXPECT_EQ(FlingPositions(0, 1000, 600, 100, 19), (std::vector<int>{95, 140, 161}));
}

TEST(ScrollPhysics, SpringBackOvershootsAndSettlesOnTheTarget) {
    std::vector<Key> keys = SpringKeys(70, 0);
    ASSERT_EQ(keys.size(), 16u);
    std::vector<int> values;
    for (const Key& k : keys)
        values.push_back(k.value);
    EXPECT_EQ(values, (std::vector<int>{70, 63, 40, 17, 2, -5, -6, -5, -2, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(keys[14].state, 14);
    EXPECT_EQ(keys.back(), (Key{16, 0}));

    std::vector<Key> up = SpringKeys(-5000, -5400);  // back down to a bottom-aligned end
    EXPECT_EQ(up[1].value, -5038);
    EXPECT_EQ(up[6].value, -5438);  // the overshoot
    EXPECT_EQ(up.back().value, -5400);
}

TEST(ScrollPhysics, SnapGoesToTheNearestSlot) {
    // Viewport 600, items 60: the centre slot starts at 270.
    EXPECT_EQ(SnapTarget(270, 600, 60), 270);
    EXPECT_EQ(SnapTarget(40, 600, 60), 30);    // 50 short of a slot: on to the next
    EXPECT_EQ(SnapTarget(70, 600, 60), 90);    // 20 short: back
    EXPECT_EQ(SnapTarget(290, 600, 60), 270);  // above the first slot
}

TEST(ScrollPhysics, BarFollowsTheContentAndKeepsAMinimumHeight) {
    EXPECT_EQ(BarRect(-3000, 6000, 480, 600, 13, 26), (Rect{467, 300, 13, 60}));
    // 60000 high: a bar of 6 grows to 26 and moves up by 13.
    EXPECT_EQ(BarRect(-30000, 60000, 480, 600, 13, 26), (Rect{467, 300 - 13, 13, 26}));
    // A content shorter than the viewport gets a bar taller than it.
    EXPECT_EQ(BarRect(0, 300, 480, 600, 13, 26), (Rect{467, 0, 13, 1200}));
}

}  // namespace
}  // namespace zentri::scroll
