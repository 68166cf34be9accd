#pragma once
// The switch's sliding strip, three thirds wide: the on face over the left two thirds, the off
// face over the right two thirds and the toggler in the middle third, so the switch's window
// (two thirds of the strip) shows the on text and the toggler, or the toggler and the off text.

#include "ui/layout.h"

namespace zentri {

class SwitchLayout : public Layout {
  public:
    explicit SwitchLayout(int third) : third(third) {}
    void Arrange(GObject* owner, int reason) override;

  private:
    int third;  // a third of the strip's width, recomputed at every arrangement
};

}  // namespace zentri
