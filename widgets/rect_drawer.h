#pragma once
// TRectDrawer: fills the node's rectangle with one colour at the node's transparency.

#include "ui/surface.h"

namespace zentri {

template <class B>
class TRectDrawer : public B {
  public:
    void SetFillColor(Color color) {
        if (color == fillColor) return;
        fillColor = color;
        this->Invalidate();
    }
    Color FillColor() const { return fillColor; }

    void Draw(Surface& surface) override {
        B::Draw(surface);
        surface.FillRect(0, 0, this->Width(), this->Height(), fillColor, this->Transparency());
    }

  protected:
    Color fillColor{255, 255, 255};
};

}  // namespace zentri
