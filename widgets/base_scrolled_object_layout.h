#pragma once
// The base of the layouts whose owner is a scroll view's content: after the children are
// arranged, the owner's height follows them, with a bottom margin equal to the top margin (at
// most 100 pixels) unless everything fits in the viewport.

#include "ui/layout.h"

namespace zentri {

class BaseScrolledObjectLayout : public Layout {
  public:
    void Arrange(GObject* owner, int reason) override;
    virtual void ArrangeChildren(GObject* owner, int reason) = 0;
};

}  // namespace zentri
