#pragma once
// The soft-key menu bar that the window backend draws under the program's area: two labels,
// each greyed while its key is disabled.

#include <string>

#include "ui/rect.h"

namespace zentri {

class Surface;

struct SoftKeyBar {
    std::u16string leftText;
    std::u16string rightText;
    bool leftEnabled = true;
    bool rightEnabled = true;
};

// The bar's height for a base unit U (the system font height).
int SoftKeyBarHeight(int baseUnit);

// Paints the bar into `area` of the surface.
void DrawSoftKeyBar(Surface& surface, const Rect& area, const SoftKeyBar& bar, int baseUnit);

}  // namespace zentri
