#pragma once
// The popup box: the program's one modal message, answered with the two soft keys.

namespace zentri {

class PopupBox {
  public:
    // Which soft key answered the box.
    enum PopupBoxResult { LeftKey = 0, RightKey = 1 };
};

}  // namespace zentri
