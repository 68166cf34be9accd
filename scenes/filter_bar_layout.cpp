#include "scenes/filter_bar_layout.h"

#include "widgets/layout_parts.h"

namespace zentri {

void FilterBarLayout::Arrange(GObject* owner, int reason) {
    (void)reason;
    const int w = owner->Width(), h = owner->Height(), a = base / 2;
    PlacePart(owner, kSegmentsId, Rect{a, a, w / 2, h - 2 * a});
    PlacePart(owner, kSortButtonId, Rect{2 * a + w / 2, a, w - 3 * a - w / 2, h - 2 * a});
}

}  // namespace zentri
