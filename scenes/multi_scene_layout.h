#pragma once
// The scene container's layout: every page as large as the container, side by side, page i at
// x = width × (i − current). Changing `current` slides all pages together (animated) or places
// them at once (immediate).

#include "ui/layout.h"

namespace zentri {

class MultiSceneLayout : public Layout {
  public:
    // The two ways a change of `current` is applied.
    enum Mode { kImmediate = 3, kAnimated = 4 };

    void Arrange(GObject* owner, int reason) override;
    int Current() const { return current; }
    void SetCurrentAnimated(int value);
    void SetCurrentImmediate(int value);

  private:
    int current = 0;
};

}  // namespace zentri
