#include "widgets/base_scrolled_object_layout.h"

#include <algorithm>

#include "ui/gobject.h"

namespace zentri {

void BaseScrolledObjectLayout::Arrange(GObject* owner, int reason) {
    // A content of 1 x 1 has not been sized by its viewport yet.
    if (owner->Width() == 1 && owner->Height() == 1) return;
    ArrangeChildren(owner, reason);
    int top = 100, bottom = 0;
    for (size_t i = 0; i < owner->ChildCount(); ++i) {
        const GObjectPtr& child = owner->ChildAt(i);
        top = std::min(top, child->Y());
        bottom = std::max(bottom, child->Y() + child->Height());
    }
    const GObject* viewport = owner->Parent();
    if (viewport && bottom < viewport->Height()) top = 0;
    owner->SetSize(owner->Width(), bottom + top);
}

}  // namespace zentri
