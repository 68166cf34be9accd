#include "scenes/reviews_layout.h"

#include <algorithm>

#include "ui/gobject.h"
#include "ui/platform/text_layout.h"
#include "widgets/label.h"
#include "widgets/layout_parts.h"
#include "widgets/rect_drawer.h"

namespace zentri {

namespace {

// The height of a review box's wrapped text in a text rectangle of the given width.
int ReviewTextHeight(GObject& box, int textWidth) {
    auto* label = dynamic_cast<TLabel<TRectDrawer<GObject>>*>(&box);
    if (!label) return 0;
    Font::Glyphs glyphs(*label->GetFont());
    return LayoutText(glyphs, label->GetFont()->Height(), label->Text(), std::max(textWidth, 1),
                      1 << 20, TextFormat::WordBreak)
        .height;
}

}  // namespace

void ReviewsLayout::ArrangeChildren(GObject* owner, int reason) {
    (void)reason;
    const int U = base, w = owner->Width() - 3 * U / 2;
    int y = U / 2;
    for (size_t i = 0; i < owner->ChildCount(); ++i) {
        GObject& box = *owner->ChildAt(i);
        // The box's text has a margin of U/2 on each side.
        const int h = ReviewTextHeight(box, w - 2 * (U / 2)) + 3 * U;
        box.SetRect(Rect{U / 2, y, w, h});
        y += h;
    }
}

void ReviewLayout::Arrange(GObject* owner, int reason) {
    (void)reason;
    const int W = owner->Width(), H = owner->Height(), m = base / 2;
    const int top = H - m - starsHeight;
    PlacePart(owner, kLogin, Rect{m, top, std::max(W - starsWidth - 2 * m, 0), starsHeight});
    PlacePart(owner, kStars, Rect{W - starsWidth - m, top, starsWidth, starsHeight});
}

}  // namespace zentri
