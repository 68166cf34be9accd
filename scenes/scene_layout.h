#pragma once
// A page's shape: the header across the top, an optional sub-header bar under it, the content
// below them down to the bottom.

#include "ui/layout.h"

namespace zentri {

class SceneLayout : public Layout {
  public:
    explicit SceneLayout(int headerHeight) : headerHeight(headerHeight) {}
    void Arrange(GObject* owner, int reason) override;

  private:
    int headerHeight;
};

}  // namespace zentri
