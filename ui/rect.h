#pragma once
// A rectangle of the screen or of a surface: position and size in pixels.

#include <algorithm>
#include <cstdint>

namespace zentri {

struct Rect {
    int32_t x = 0;
    int32_t y = 0;
    int32_t w = 0;
    int32_t h = 0;

    bool operator==(const Rect&) const = default;

    bool Contains(int32_t px, int32_t py) const {
        return x <= px && px < x + w && y <= py && py < y + h;
    }

    // Edges that only touch count as overlapping.
    bool Overlaps(const Rect& o) const {
        return !(x + w < o.x || o.x + o.w < x || y + h < o.y || o.y + o.h < y);
    }

    // All zero when the two do not overlap.
    Rect Intersection(const Rect& o) const {
        if (!Overlaps(o)) return {};
        int32_t nx = std::max(x, o.x), ny = std::max(y, o.y);
        return {nx, ny, std::min(x + w, o.x + o.w) - nx, std::min(y + h, o.y + o.h) - ny};
    }

    // A rectangle with w == 0 and h == 0 is empty; the union with it is the other one.
    bool IsEmpty() const { return w == 0 && h == 0; }
    Rect Union(const Rect& o) const {
        if (IsEmpty()) return o;
        if (o.IsEmpty()) return *this;
        int32_t nx = std::min(x, o.x), ny = std::min(y, o.y);
        return {nx, ny, std::max(x + w, o.x + o.w) - nx, std::max(y + h, o.y + o.h) - ny};
    }
};

}  // namespace zentri
