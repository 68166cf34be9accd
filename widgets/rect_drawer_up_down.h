#pragma once
// TRectDrawerUpDown: a list row's background. Draws the base (its image), then a one-pixel
// line across the bottom row and, for the first child of its parent, across the top row too,
// so a column of rows is separated by single lines and closed at both ends.

#include "ui/gobject.h"
#include "ui/surface.h"

namespace zentri {

template <class B>
class TRectDrawerUpDown : public B {
  public:
    void SetLineColor(Color color) {
        if (color == lineColor) return;
        lineColor = color;
        this->Invalidate();
    }
    Color LineColor() const { return lineColor; }

    void Draw(Surface& surface) override {
        B::Draw(surface);
        int w = this->Width(), t = this->Transparency();
        surface.FillRect(0, this->Height() - 1, w, 1, lineColor, t);
        GObject* up = this->Parent();
        if (up && up->ChildCount() > 0 && up->ChildAt(0).get() == this)
            surface.FillRect(0, 0, w, 1, lineColor, t);
    }

  protected:
    Color lineColor{0xD0, 0xD0, 0xD0};
};

}  // namespace zentri
