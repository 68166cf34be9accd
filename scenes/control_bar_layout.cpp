#include "scenes/control_bar_layout.h"

#include "ui/gobject.h"
#include "widgets/layout_parts.h"

namespace zentri {

void ControlBarLayout::Arrange(GObject* owner, int reason) {
    (void)reason;
    const int W = owner->Width(), H = owner->Height(), a = base / 3, b = (W - 2 * a) / 3;
    PlacePart(owner, kUpdate, Rect{0, 0, b, H});
    PlacePart(owner, kRun, Rect{a + b, 0, b, H});
    PlacePart(owner, kUninstall, Rect{2 * (a + b), 0, b, H});
    PlacePart(owner, kProgress, Rect{0, 0, W - 2 * a, H});
}

}  // namespace zentri
