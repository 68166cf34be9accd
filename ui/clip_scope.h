#pragma once
// Drawing state as a stack: pushes a clip rectangle and sets the origin together, and undoes
// both when it goes out of scope.

#include "ui/rect.h"
#include "ui/surface.h"

namespace zentri {

class ClipScope {
  public:
    ClipScope(Surface& surface, const Rect& clip, int originX, int originY)
        : surface_(surface), savedX_(surface.originX), savedY_(surface.originY) {
        surface_.PushClip(clip);
        surface_.SetOrigin(originX, originY);
    }
    ~ClipScope() {
        surface_.PopClip();
        surface_.SetOrigin(savedX_, savedY_);
    }
    ClipScope(const ClipScope&) = delete;
    ClipScope& operator=(const ClipScope&) = delete;

  private:
    Surface& surface_;
    int savedX_;
    int savedY_;
};

}  // namespace zentri
