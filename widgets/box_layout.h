#pragma once
// Lays the popup box's panel (child 500) over the lower half of the backdrop. Asked with reason
// 4 (the box has just been shown) it slides the panel there; otherwise it places it at once.

#include "ui/layout.h"

namespace zentri {

class BoxLayout : public Layout {
  public:
    static constexpr int kSlideSteps = 3;
    void Arrange(GObject* owner, int reason) override;
};

}  // namespace zentri
