#pragma once
// Five stars side by side, each a fifth of the container's width (integer division: the rest
// stays empty at the right) and its full height.

#include "ui/layout.h"

namespace zentri {

class StarsLayout : public Layout {
  public:
    void Arrange(GObject* owner, int reason) override;
};

}  // namespace zentri
