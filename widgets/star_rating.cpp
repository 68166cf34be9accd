#include "widgets/star_rating.h"

#include <algorithm>

#include "ui/touch.h"
#include "widgets/image.h"
#include "widgets/stars_layout.h"

namespace zentri {

using Star = TImage<GObject>;

StarRating::~StarRating() {
    Unsubscribe();
}

// The stars' handlers point at this object: they go before it does, or before a new set of
// stars replaces the old.
void StarRating::Unsubscribe() {
    if (!container) return;
    for (size_t i = 0; i < container->ChildCount(); ++i)
        container->ChildAt(i)->OnTouch().RemoveObject(this);
}

GObjectPtr StarRating::Create(int32_t value, bool readOnly) {
    Unsubscribe();
    container = MakeShared<GObject>();
    for (int i = 0; i < kStars; ++i) {
        auto star = MakeShared<Star>();
        star->SetStretch(true);
        star->AddImage(kFull, u"rate_star.png");
        star->AddImage(kHalf, u"rate_halfstar.png");
        star->AddImage(kBlank, u"rate_blankstar.png");
        star->ShowImage(kFull);
        if (!readOnly) star->OnTouch().Add(this, &StarRating::StarTouched);
        container->AddChild(star, -1);
    }
    container->SetLayout(MakeShared<StarsLayout>());
    SetRating(value);
    return container;
}

void StarRating::SetRating(int32_t halfStars) {
    rating = std::clamp(halfStars, 0, kMaxRating);
    if (!container) return;
    int full = rating / 2;
    bool half = rating % 2 != 0;
    for (size_t i = 0; i < container->ChildCount(); ++i) {
        auto* star = dynamic_cast<Star*>(container->ChildAt(i).get());
        if (!star) continue;
        int n = static_cast<int>(i);
        star->ShowImage(n < full ? kFull : (n == full && half ? kHalf : kBlank));
    }
}

void StarRating::StarTouched(GObjectPtr& star, const Touch& touch) {
    size_t index = 0;
    if (touch.type != Touch::kClick || !container || !container->IndexOf(star.get(), index)) return;
    SetRating(2 * (static_cast<int32_t>(index) + 1));
}

}  // namespace zentri
