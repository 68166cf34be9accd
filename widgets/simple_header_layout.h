#pragma once
// The header bar of a page: a crumb (the way back) at the left, a separator, the title, and a
// home icon at the right. A long crumb gives way to the title: it takes at most a third.

#include "ui/layout.h"

namespace zentri {

class SimpleHeaderLayout : public Layout {
  public:
    enum PartId { kTitle = -801, kCrumb = -802, kSeparator = -803, kHome = -804 };

    SimpleHeaderLayout(int titleWidth, int crumbWidth, int spacing, int separatorWidth)
        : titleWidth(titleWidth),
          crumbWidth(crumbWidth),
          spacing(spacing),
          separatorWidth(separatorWidth) {}

    void Arrange(GObject* owner, int reason) override;
    // The widths that the texts need; the caller re-arranges (Update) after changing them.
    void SetTitleWidth(int value) { titleWidth = value; }
    void SetCrumbWidth(int value) { crumbWidth = value; }

  private:
    int titleWidth;
    int crumbWidth;
    int spacing;
    int separatorWidth;
};

}  // namespace zentri
