#pragma once
// Places every child in the owner's box (its rectangle less the margins): filling it, or at
// the chosen horizontal and vertical alignment keeping the child's size. A child being
// dragged is left where the finger holds it.

#include "ui/layout.h"

namespace zentri {

class SingleLayout : public Layout {
  public:
    enum Align { kStart = 0, kCentre = 1, kEnd = 2 };

    SingleLayout(int hAlign, int vAlign, bool fill, int left = 0, int top = 0, int right = 0,
                 int bottom = 0)
        : hAlign(hAlign),
          vAlign(vAlign),
          fill(fill),
          left(left),
          top(top),
          right(right),
          bottom(bottom) {}

    void Arrange(GObject* owner, int reason) override;

  private:
    static int Aligned(int align, int start, int room, int size);

    int hAlign;
    int vAlign;
    bool fill;
    int left;
    int top;
    int right;
    int bottom;
};

}  // namespace zentri
