#pragma once
// Space kept free inside a node's rectangle, on each side.

#include "ui/rect.h"

namespace zentri {

struct Padding {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    // The w x h rectangle (at 0, 0) without the padding.
    Rect Inside(int w, int h) const { return Rect{left, top, w - left - right, h - top - bottom}; }
};

}  // namespace zentri
