#pragma once
// THotLabel: a label that shows another text colour while the finger presses it (links).

#include "ui/surface.h"
#include "ui/touch.h"

namespace zentri {

template <class B>
class THotLabel : public B {
  public:
    // The colour at rest; also shown at once unless the label is pressed now.
    void SetNormalColor(Color value) {
        normalColor = value;
        if (!this->IsPressed()) this->SetTextColor(value);
    }
    void SetPressedColor(Color value) {
        pressedColor = value;
        if (this->IsPressed()) this->SetTextColor(value);
    }
    Color NormalColor() const { return normalColor; }
    Color PressedColor() const { return pressedColor; }

    void Pressed(const Touch& touch, bool isPressed) override {
        B::Pressed(touch, isPressed);
        this->SetTextColor(pressedColor);
    }
    void Released(const Touch& touch) override {
        B::Released(touch);
        this->SetTextColor(normalColor);
    }

  protected:
    Color pressedColor{0x80, 0x80, 0x80};
    Color normalColor{0, 0, 0};
};

}  // namespace zentri
