#pragma once
// A list row with an icon, a text and an on/off switch at the right, where the tree rows have
// their arrow. The switch is six base units wide and two high.

#include "widgets/tree_item_layout.h"

namespace zentri {

class SwitchItemLayout : public TreeItemLayout {
  public:
    enum PartId { kText = 8990, kSwitch = 8991, kIcon = 8992 };

    explicit SwitchItemLayout(int margin) : TreeItemLayout(margin, 0, 0) {}
    void Arrange(GObject* owner, int reason) override;
};

}  // namespace zentri
