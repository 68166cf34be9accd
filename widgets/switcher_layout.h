#pragma once
// The switch's container: the strip is half as wide again as the container and slides so that
// the container shows its left two thirds when the switch is on and its right two thirds when
// it is off. Every arrangement slides, the first one included; the strip's end-of-slide handler
// then hides the face that lies under the other.

#include "ui/layout.h"

namespace zentri {

class SwitcherLayout : public Layout {
  public:
    void Arrange(GObject* owner, int reason) override;
};

}  // namespace zentri
