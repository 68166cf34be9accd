#pragma once
// The control bar under a My apps row: update, run and uninstall side by side in three equal
// widths with a gap of a third of the base unit, or, while the application is busy, the
// progress bar across the bar.

#include "ui/layout.h"

namespace zentri {

class ControlBarLayout : public Layout {
  public:
    enum PartId { kRun = 10, kUpdate = 11, kUninstall = 12, kProgress = 15 };

    explicit ControlBarLayout(int baseUnit) : base(baseUnit) {}
    void Arrange(GObject* owner, int reason) override;

  private:
    int base;
};

}  // namespace zentri
