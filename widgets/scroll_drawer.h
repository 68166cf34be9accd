#pragma once
// TScrollDrawer: the scroll bar, a vertical bar with rounded ends drawn column by column in one
// colour with the node's transparency.

#include "ui/surface.h"

namespace zentri {

template <class B>
class TScrollDrawer : public B {
  public:
    void Draw(Surface& surface) override {
        B::Draw(surface);
        const int w = this->Width(), h = this->Height();
        for (int col = 0; col < w; ++col) {
            int inset = Inset(col, w);
            surface.FillRect(col, inset, 1, h - 2 * inset, barColor, this->Transparency());
        }
    }

    void SetBarColor(Color color) {
        barColor = color;
        this->Invalidate();
    }
    Color BarColor() const { return barColor; }

  private:
    // The ends are rounded by insetting the outer columns: by one pixel on a narrow bar, by
    // two and one on the two outer columns of a wider one.
    static int Inset(int col, int w) {
        int fromEdge = col < w - 1 - col ? col : w - 1 - col;
        if (w / 2 < 5) return fromEdge == 0 ? 1 : 0;
        if (fromEdge == 0) return 2;
        return fromEdge == 1 ? 1 : 0;
    }

    Color barColor{110, 110, 110};
};

}  // namespace zentri
