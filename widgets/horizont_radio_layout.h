#pragma once
// Options of a radio group side by side, each an equal share of the width (the remainder of
// the division stays empty at the right) and the whole height.

#include "ui/layout.h"

namespace zentri {

class HorizontRadioLayout : public Layout {
  public:
    void Arrange(GObject* owner, int reason) override;
};

}  // namespace zentri
