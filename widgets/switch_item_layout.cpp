#include "widgets/switch_item_layout.h"

#include "widgets/row_text_box.h"

namespace zentri {

void SwitchItemLayout::Arrange(GObject* owner, int reason) {
    (void)reason;
    arrowWidth = BaseUnit() * 6;
    arrowHeight = BaseUnit() * 2;
    RowTextBox box(owner, margin);
    box.PlaceIcon(kIcon);
    box.PlaceArrow(kSwitch, arrowWidth, arrowHeight);
    PlacePart(owner, kText, Rect{box.left, margin, box.width, owner->Height() - 2 * margin});
}

}  // namespace zentri
