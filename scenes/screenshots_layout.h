#pragma once
// The screenshots page: a caption, then its picture, for every screenshot, down the page. A
// picture is as wide as it is (at most the page less a margin on each side) and keeps its
// aspect ratio; one that has not arrived takes no room, and the layout runs again when it does.

#include "widgets/base_scrolled_object_layout.h"

namespace zentri {

class ScreenshotsLayout : public BaseScrolledObjectLayout {
  public:
    explicit ScreenshotsLayout(int baseUnit) : base(baseUnit) {}

    // Captions are the even children, pictures the odd ones.
    void ArrangeChildren(GObject* owner, int reason) override;

  private:
    int base;
};

}  // namespace zentri
