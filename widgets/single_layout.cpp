#include "widgets/single_layout.h"

#include "ui/gobject.h"

namespace zentri {

int SingleLayout::Aligned(int align, int start, int room, int size) {
    if (align == kCentre) return start + (room - size) / 2;
    if (align == kEnd) return start + room - size;
    return start;
}

void SingleLayout::Arrange(GObject* owner, int reason) {
    (void)reason;
    const Rect box{left, top, owner->Width() - left - right, owner->Height() - top - bottom};
    for (size_t i = 0; i < owner->ChildCount(); ++i) {
        GObjectPtr child = owner->ChildAt(i);
        if (child->IsDragging()) continue;
        if (fill) {
            child->SetRect(box);
            continue;
        }
        child->SetPosition(Aligned(hAlign, box.x, box.w, child->Width()),
                           Aligned(vAlign, box.y, box.h, child->Height()));
    }
}

}  // namespace zentri
