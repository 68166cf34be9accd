#pragma once
// The kinetic scrolling of the scroll view as pure functions of its state: the fling's speed at
// release, the positions of a fling frame by frame, the spring back into range, the snap of a
// picker to its nearest slot and the scroll bar's geometry. Speeds are in pixels per 50 ms; one
// frame is 40 ms.

#include <vector>

#include "ui/rect.h"

namespace zentri::scroll {

// Each fling frame keeps this share of the speed; beyond an edge it is halved on top.
constexpr double kFlingDecay = 0.95;
// Spring back: damping per frame and angular speed (one state per frame).
constexpr double kSpringDamping = 0.42;
// States of a spring back: keys 0..14 and the target at 16.
constexpr int kSpringLastKey = 14;
constexpr int kSpringEnd = 16;

// The finger's speed at release over the last segment of one direction: `distance` pixels in
// `elapsed` seconds, limited to +-limit. A segment of no measurable time counts as the limit
// in its direction (or 0 when it did not move).
double ReleaseSpeed(int distance, double elapsed, double limit);

// The content's positions, one per frame from state 0, for a fling that starts at y with speed
// v: the speed decays each frame until it falls below `stopSpeed`, and is halved while the
// content would end beyond either edge of a viewport `viewportHeight` high. Empty when the
// speed is already below the stop speed.
std::vector<int> FlingPositions(int y, int contentHeight, int viewportHeight, double v,
                                double stopSpeed);

// The keys (state, value) of a spring from `from` to `target`: a damped oscillation that
// overshoots slightly and settles on the target at state 16.
struct Key {
    int state;
    int value;
    bool operator==(const Key&) const = default;
};
std::vector<Key> SpringKeys(int from, int target);

// The position of the nearest slot for a picker whose items are `itemHeight` high and whose
// centre slot starts at (viewportHeight - itemHeight) / 2; y itself when already there.
int SnapTarget(int y, int viewportHeight, int itemHeight);

// The scroll bar's rectangle in the viewport for a content at y, `contentHeight` high; a bar
// shorter than `minHeight` gets that height, moved up by half of it.
Rect BarRect(int y, int contentHeight, int viewportWidth, int viewportHeight, int barWidth,
             int minHeight);

}  // namespace zentri::scroll
