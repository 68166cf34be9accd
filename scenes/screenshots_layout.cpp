#include "scenes/screenshots_layout.h"

#include <algorithm>

#include "ui/gobject.h"
#include "ui/surface.h"
#include "widgets/image.h"

namespace zentri {

void ScreenshotsLayout::ArrangeChildren(GObject* owner, int reason) {
    (void)reason;
    const int U = base, room = std::max(owner->Width() - 2 * U, 1);
    int y = U / 2;
    for (size_t i = 0; i < owner->ChildCount(); ++i) {
        GObject& child = *owner->ChildAt(i);
        if (i % 2 == 0) {
            child.SetRect(Rect{U, y, room, 2 * U});
            y += 2 * U;
            continue;
        }
        auto* picture = dynamic_cast<TImage<GObject>*>(&child);
        const shared_ptr<Surface> image = picture ? picture->Image() : nullptr;
        if (!image || !image->HasPixels() || image->width <= 0) {
            // Not here yet: one line high, so that it is drawn (which fetches it).
            child.SetRect(Rect{U, y, room, 1});
            continue;
        }
        const int w = std::min(image->width, room);
        const int h = static_cast<int>(static_cast<int64_t>(image->height) * w / image->width);
        child.SetRect(Rect{U, y, w, h});
        y += h + U;
    }
}

}  // namespace zentri
