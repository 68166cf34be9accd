#include "ui/platform/soft_key_bar.h"

#include "ui/clip_scope.h"
#include "ui/surface.h"

namespace zentri {
namespace {

constexpr Color kBarColor{0x20, 0x24, 0x2C};
constexpr Color kEdgeColor{0x50, 0x58, 0x64};

}  // namespace

// Two base units: 26 pixels at 96 dpi, 52 at 192 dpi, as the handset's menu bar.
int SoftKeyBarHeight(int baseUnit) {
    return 2 * baseUnit;
}

void DrawSoftKeyBar(Surface& surface, const Rect& area, const SoftKeyBar& bar, int baseUnit) {
    (void)bar, (void)baseUnit;
    ClipScope scope(surface, area, area.x, area.y);
    surface.FillRect(0, 0, area.w, area.h, kBarColor, 255);
    surface.FillRect(0, 0, area.w, 1, kEdgeColor, 255);
}

}  // namespace zentri
