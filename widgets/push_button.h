#pragma once
// TPushButton: press feedback by image. Image state 1 is the normal look, state 0 the pushed
// look; B provides TImage. The node keeps its size.

#include "ui/touch.h"

namespace zentri {

template <class B>
class TPushButton : public B {
  public:
    static constexpr int kPushedImage = 0;
    static constexpr int kNormalImage = 1;

    void Pressed(const Touch& touch, bool isPressed) override {
        B::Pressed(touch, isPressed);
        this->ShowImage(kPushedImage, false);
    }
    void Released(const Touch& touch) override {
        B::Released(touch);
        this->ShowImage(kNormalImage, false);
    }
};

}  // namespace zentri
