#include "widgets/simple_header_layout.h"

#include "widgets/layout_parts.h"

namespace zentri {

void SimpleHeaderLayout::Arrange(GObject* owner, int reason) {
    (void)reason;
    const int w = owner->Width(), h = owner->Height(), g = spacing;
    const int e = h - 2 * g;
    const int b = PlacePart(owner, kHome, Rect{w - g - e, g, e, e}) ? w - 2 * g - e : w;
    int crumb = 0, title = 0;
    if (crumbWidth == 0) {
        title = b - 2 * g;
    } else if (crumbWidth > b / 3 && b < crumbWidth + 4 * g + titleWidth) {
        crumb = b / 3;
        title = b - 4 * g - b / 3;
    } else {
        crumb = crumbWidth;
        title = b - 4 * g - crumbWidth;
    }
    PlacePart(owner, kCrumb, Rect{g, 0, crumb, h});
    PlacePart(owner, kSeparator, Rect{crumb + g, 0, separatorWidth, h});
    PlacePart(owner, kTitle, Rect{separatorWidth + g + crumb, 0, title, h});
}

}  // namespace zentri
