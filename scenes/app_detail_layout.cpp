#include "scenes/app_detail_layout.h"

#include <algorithm>

#include "ui/gobject.h"
#include "ui/platform/text_layout.h"
#include "widgets/label.h"
#include "widgets/layout_parts.h"

namespace zentri {

namespace {

// The height of a wrapped label's text at the given width.
int WrappedTextHeight(GObject* owner, int id, int width) {
    GObjectPtr part;
    if (!owner->FindChild(id, part)) return 0;
    auto* label = dynamic_cast<TLabel<GObject>*>(part.get());
    if (!label) return part->Height();
    Font::Glyphs glyphs(*label->GetFont());
    return LayoutText(glyphs, label->GetFont()->Height(), label->Text(), std::max(width, 1),
                      1 << 20, TextFormat::WordBreak)
        .height;
}

}  // namespace

AppDetailLayout::AppDetailLayout(int starsWidth, int starsHeight, int baseUnit)
    : starsWidth(starsWidth), starsHeight(starsHeight), base(baseUnit) {}

void AppDetailLayout::ArrangeChildren(GObject* owner, int reason) {
    (void)reason;
    const int W = owner->Width(), U = base, h = U / 2;
    PlacePart(owner, kIcon, Rect{h, h, 8 * h, 8 * h});
    PlacePart(owner, kDeveloperCaption, Rect{10 * h, h, 3 * U, 4 * h});
    PlacePart(owner, kDeveloper, Rect{3 * U + 11 * h, h, W / 2, 4 * h});
    PlacePart(owner, kVersionCaption, Rect{10 * h, 6 * h, 5 * U, 4 * h});
    PlacePart(owner, kVersion, Rect{10 * h + 5 * U + h, 6 * h, W / 2, 4 * h});
    PlacePart(owner, kDescriptionCaption, Rect{10 * h, 11 * h, W - 11 * h, 4 * h});
    const int textWidth = W - 11 * h;
    const int textHeight = WrappedTextHeight(owner, kDescription, textWidth);
    PlacePart(owner, kDescription, Rect{10 * h, 14 * h, textWidth, textHeight});
    const int textBottom = 14 * h + textHeight;

    // The action buttons that are there, one under the other below the icon.
    int y = 10 * h, actionsBottom = 10 * h - h;
    for (int id : {kFirstAction, kUninstall, kUpdate}) {
        if (!PlacePart(owner, id, Rect{h, y, 8 * h, 8 * h})) continue;
        actionsBottom = y + 8 * h;
        y += 9 * h;
    }
    int t = std::max(textBottom, actionsBottom + h);

    PlacePart(owner, kRatingCaption, Rect{h, t, W / 2, 4 * h});
    t += 4 * h;
    PlacePart(owner, kStars, Rect{h, t, starsWidth, starsHeight});
    PlacePart(owner, kVotes, Rect{2 * h + starsWidth, t, 8 * h, starsHeight});
    t += starsHeight + h;
    for (int id : {kScreenshots, kReviews, kRate}) {
        if (!PlacePart(owner, id, Rect{h, t, W - 3 * h, 5 * h})) continue;
        t += 5 * h + h;
    }
    if (PlacePart(owner, kTagsCaption, Rect{h, t, W - 2 * h, 4 * h})) t += 4 * h;
    GObjectPtr tags;
    if (owner->FindChild(kTags, tags))
        tags->SetRect(Rect{0, t, W, 3 * U * static_cast<int>(tags->ChildCount())});
}

}  // namespace zentri
