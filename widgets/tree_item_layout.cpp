#include "widgets/tree_item_layout.h"

#include "widgets/layout_parts.h"
#include "widgets/row_text_box.h"

namespace zentri {

void TreeItemLayout::Arrange(GObject* owner, int reason) {
    (void)reason;
    RowTextBox box(owner, margin);
    box.PlaceIcon(kIcon);
    const int s = box.IconSide();
    PlacePart(owner, kBadge, Rect{margin + (s / 3) * 2, 0, s / 2, s / 2});
    box.PlaceArrow(kArrow, arrowWidth, arrowHeight);
    PlacePart(owner, kText, Rect{box.left, margin, box.width, owner->Height() - 2 * margin});
}

}  // namespace zentri
