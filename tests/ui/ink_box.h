#pragma once
// Where a rendering put ink: the smallest rectangle of pixels that differ from white.

#include <algorithm>

#include "ui/rect.h"
#include "ui/surface.h"

namespace zentri::test {

// Empty when every pixel is white.
inline Rect InkBox(const Surface& s) {
    int x0 = s.width, y0 = s.height, x1 = -1, y1 = -1;
    for (int y = 0; y < s.height; ++y)
        for (int x = 0; x < s.width; ++x)
            if (s.Pixel(x, y) != 0xFFFF) {
                x0 = std::min(x0, x), y0 = std::min(y0, y);
                x1 = std::max(x1, x), y1 = std::max(y1, y);
            }
    return x1 < 0 ? Rect{} : Rect{x0, y0, x1 - x0 + 1, y1 - y0 + 1};
}

}  // namespace zentri::test
