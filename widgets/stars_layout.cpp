#include "widgets/stars_layout.h"

#include "ui/gobject.h"
#include "widgets/star_rating.h"

namespace zentri {

void StarsLayout::Arrange(GObject* container, int reason) {
    (void)reason;
    int w = container->Width() / StarRating::kStars, h = container->Height();
    for (size_t i = 0; i < container->ChildCount(); ++i) {
        GObjectPtr star = container->ChildAt(i);
        star->SetRect(Rect{static_cast<int>(i) * w, 0, w, h});
    }
}

}  // namespace zentri
