#pragma once
// An application row of the catalogue lists: icon, title, a second line with a value at its
// right, an arrow, and a bottom line of small items (rating, size, price, progress).

#include "ui/layout.h"

namespace zentri {

class AppListItemLayout : public Layout {
  public:
    enum PartId {
        kIcon = 20,
        kTitle = 21,
        kSecondLine = 22,
        kArrow = 23,
        kSmall = 24,
        kBesideSmall = 25,
        kRightValue = 26,
        kBottomRight = 27,
        kBottomRow = 30
    };

    AppListItemLayout(int margin, int arrowWidth, int arrowHeight, int smallWidth, int smallHeight);

    void Arrange(GObject* owner, int reason) override;
    // The base unit and the system icon width (the device's by default).
    void SetUnits(int baseUnit, int iconWidth) {
        base = baseUnit;
        icon = iconWidth;
    }

  private:
    int margin;
    int arrowWidth;
    int arrowHeight;
    int smallWidth;
    int smallHeight;
    int base;
    int icon;
};

}  // namespace zentri
