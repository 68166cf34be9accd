#pragma once
// The loading layer's layout: the strip (child 1) as a band 2U high across the bottom, the
// spinner (child 2) as a 2U square at the band's right end.

#include "ui/layout.h"

namespace zentri {

class LoadingLayout : public Layout {
  public:
    static constexpr int kStripId = 1;
    static constexpr int kSpinnerId = 2;
    void Arrange(GObject* owner, int reason) override;
};

}  // namespace zentri
