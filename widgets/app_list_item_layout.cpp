#include "widgets/app_list_item_layout.h"

#include "widgets/layout_parts.h"

namespace zentri {

AppListItemLayout::AppListItemLayout(int margin, int arrowWidth, int arrowHeight, int smallWidth,
                                     int smallHeight)
    : margin(margin),
      arrowWidth(arrowWidth),
      arrowHeight(arrowHeight),
      smallWidth(smallWidth),
      smallHeight(smallHeight),
      base(BaseUnit()),
      icon(GetDisplayMetrics().iconWidth) {}

void AppListItemLayout::Arrange(GObject* owner, int reason) {
    (void)reason;
    const int m = margin, a = icon, half = a / 2, r = owner->Width(), h = owner->Height();
    const int aw = arrowWidth, bottom = h - m - smallHeight;
    PlacePart(owner, kIcon, Rect{m, m, a, a});
    PlacePart(owner, kTitle, Rect{a + 2 * m, m, r - 2 * m - a, half});
    PlacePart(owner, kSecondLine, Rect{a + 2 * m, half + m, r - 3 * m - 3 * base - aw - a, half});
    PlacePart(owner, kRightValue, Rect{r - 2 * m - 4 * base - aw, half + m, 4 * base, half});
    PlacePart(owner, kArrow, Rect{r - aw - m, (h - arrowHeight) / 2, aw, arrowHeight});
    PlacePart(owner, kSmall, Rect{m, bottom, smallWidth, smallHeight});
    PlacePart(owner, kBesideSmall, Rect{smallWidth + 2 * m, bottom, 4 * base, smallHeight});
    PlacePart(owner, kBottomRight,
              Rect{r - 7 * base - aw, h - smallHeight - m, 7 * base, smallHeight});
    PlacePart(owner, kBottomRow, Rect{m, bottom, r - 2 * m - aw, smallHeight});
}

}  // namespace zentri
