#pragma once
// A list row with an icon, a title above a subtitle, and an arrow at the right.

#include "widgets/tree_item_layout.h"

namespace zentri {

class TwoStageTreeItemLayout : public TreeItemLayout {
  public:
    enum PartId { kTitle = 8979, kSubtitle = 8980, kArrow = 8981, kIcon = 8982 };

    using TreeItemLayout::TreeItemLayout;
    void Arrange(GObject* owner, int reason) override;
};

}  // namespace zentri
