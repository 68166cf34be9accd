#include "widgets/two_stage_tree_item_layout.h"

#include "widgets/row_text_box.h"

namespace zentri {

void TwoStageTreeItemLayout::Arrange(GObject* owner, int reason) {
    (void)reason;
    RowTextBox box(owner, margin);
    box.PlaceIcon(kIcon);
    box.PlaceArrow(kArrow, arrowWidth, arrowHeight);
    const int line = (owner->Height() - 3 * margin) / 2;
    PlacePart(owner, kTitle, Rect{box.left, margin, box.width, line});
    PlacePart(owner, kSubtitle, Rect{box.left, line + 2 * margin, box.width, line});
}

}  // namespace zentri
