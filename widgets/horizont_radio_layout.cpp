#include "widgets/horizont_radio_layout.h"

#include "ui/gobject.h"

namespace zentri {

void HorizontRadioLayout::Arrange(GObject* owner, int reason) {
    (void)reason;
    const int count = static_cast<int>(owner->ChildCount());
    const int w = owner->Width() / count;
    for (int i = 0; i < count && i < static_cast<int>(owner->ChildCount()); ++i) {
        GObjectPtr child = owner->ChildAt(static_cast<size_t>(i));
        child->SetRect(Rect{i * w, 0, w, owner->Height()});
    }
}

}  // namespace zentri
