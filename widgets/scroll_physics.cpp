#include "widgets/scroll_physics.h"

#include <cmath>

namespace zentri::scroll {

double ReleaseSpeed(int distance, double elapsed, double limit) {
    double v = 0;
    if (elapsed > 0)
        v = distance / (elapsed * 20.0);
    else if (distance != 0)
        v = distance > 0 ? limit : -limit;
    if (std::fabs(v) > limit) v = v > 0 ? limit : -limit;
    return v;
}

std::vector<int> FlingPositions(int y, int contentHeight, int viewportHeight, double v,
                                double stopSpeed) {
    std::vector<int> positions;
    double offset = 0;
    while (std::fabs(v) >= stopSpeed) {
        v *= kFlingDecay;
        offset += v;
        double top = y + offset;
        if (top > 0 || top + contentHeight < viewportHeight) v *= 0.5;
        positions.push_back(static_cast<int>(y + offset));
    }
    return positions;
}

std::vector<Key> SpringKeys(int from, int target) {
    const double omega = std::sqrt(0.64) * 0.7;
    const double d0 = from - target;
    std::vector<Key> keys;
    for (int i = 0; i <= kSpringLastKey; ++i) {
        double swing =
            d0 * std::exp(-kSpringDamping * i) * (std::cos(omega * i) + std::sin(omega * i));
        keys.push_back(Key{i, target + static_cast<int>(swing)});
    }
    keys.push_back(Key{kSpringEnd, target});
    return keys;
}

int SnapTarget(int y, int viewportHeight, int itemHeight) {
    if (itemHeight <= 0) return y;
    int d = ((viewportHeight - itemHeight) / 2 - y) % itemHeight;
    if (d < 0) d += itemHeight;  // above the first slot too, the nearest one is chosen
    if (d == 0) return y;
    return d < itemHeight / 2 ? y + d : y + d - itemHeight;
}

Rect BarRect(int y, int contentHeight, int viewportWidth, int viewportHeight, int barWidth,
             int minHeight) {
    if (contentHeight <= 0) return Rect{viewportWidth - barWidth, 0, barWidth, viewportHeight};
    double ratio = static_cast<double>(viewportHeight) / contentHeight;
    int h = static_cast<int>(viewportHeight * ratio);
    int top = static_cast<int>(-y * ratio);
    if (h < minHeight) {
        h = minHeight;
        top -= minHeight / 2;
    }
    return Rect{viewportWidth - barWidth, top, barWidth, h};
}

}  // namespace zentri::scroll
