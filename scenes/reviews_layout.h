#pragma once
// The reviews page: one box per review, one directly under the other, each as tall as its text
// plus room for the writer's name and stars at its bottom (ReviewLayout inside the box).

#include "ui/layout.h"
#include "widgets/base_scrolled_object_layout.h"

namespace zentri {

class ReviewsLayout : public BaseScrolledObjectLayout {
  public:
    explicit ReviewsLayout(int baseUnit) : base(baseUnit) {}
    void ArrangeChildren(GObject* owner, int reason) override;

  private:
    int base;
};

// Inside a review box: the writer's name at the bottom left, the stars at the bottom right.
class ReviewLayout : public Layout {
  public:
    enum PartId { kLogin = 123, kStars = 124 };
    ReviewLayout(int starsWidth, int starsHeight, int baseUnit)
        : starsWidth(starsWidth), starsHeight(starsHeight), base(baseUnit) {}
    void Arrange(GObject* owner, int reason) override;

  private:
    int starsWidth;
    int starsHeight;
    int base;
};

}  // namespace zentri
