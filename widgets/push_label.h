#pragma once
// TPushLabel: a selectable button with a caption (B provides TLabel over TPushSelectButton):
// besides the image, the caption's colour follows the selection.

#include "ui/surface.h"

namespace zentri {

template <class B>
class TPushLabel : public B {
  public:
    // Each colour shows at once when it belongs to the current selection.
    void SetSelectedColor(Color value) {
        selectedColor = value;
        if (this->IsFocusable()) this->SetTextColor(value);
    }
    void SetUnselectedColor(Color value) {
        unselectedColor = value;
        if (!this->IsFocusable()) this->SetTextColor(value);
    }
    Color SelectedColor() const { return selectedColor; }
    Color UnselectedColor() const { return unselectedColor; }

    void FocusableChanged(bool selected) override {
        B::FocusableChanged(selected);
        this->SetTextColor(selected ? selectedColor : unselectedColor);
    }

  protected:
    Color selectedColor{255, 255, 255};
    Color unselectedColor{0, 0, 0};
};

}  // namespace zentri
