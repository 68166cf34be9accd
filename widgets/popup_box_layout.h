#pragma once
// Places the caption and the message inside the popup box's panel: the caption in a band of
// 3a at the top, the message over the rest, both inset by a = U/2 at the sides.

#include "ui/layout.h"

namespace zentri {

class PopupBoxLayout : public Layout {
  public:
    void Arrange(GObject* owner, int reason) override;
};

}  // namespace zentri
