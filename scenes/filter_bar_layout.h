#pragma once
// The filter bar above an application list: the price segments in the left half and the sort
// button in the rest, each inset by half a base unit.

#include "ui/layout.h"

namespace zentri {

class FilterBarLayout : public Layout {
  public:
    static constexpr int kSegmentsId = 9000;
    static constexpr int kSortButtonId = 9002;

    explicit FilterBarLayout(int baseUnit) : base(baseUnit) {}
    void Arrange(GObject* owner, int reason) override;

  private:
    int base;
};

}  // namespace zentri
