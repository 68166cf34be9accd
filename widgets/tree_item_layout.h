#pragma once
// A list row with an icon at the left, a text, an arrow at the right and a badge over the
// icon's corner. The icon is a square of the row's height less the margins.

#include "ui/layout.h"

namespace zentri {

class TreeItemLayout : public Layout {
  public:
    enum PartId { kIcon = 7000, kText = 7001, kArrow = 7002, kBadge = 7003 };

    TreeItemLayout(int margin, int arrowWidth, int arrowHeight)
        : margin(margin), arrowWidth(arrowWidth), arrowHeight(arrowHeight) {}

    void Arrange(GObject* owner, int reason) override;

  protected:
    int margin;
    int arrowWidth;
    int arrowHeight;
};

}  // namespace zentri
