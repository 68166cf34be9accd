#pragma once
// THotButton: press feedback by transparency. Pressing dims the node (alone) at once by
// pressDim below its rest transparency, remembered at the first press; releasing fades it
// (with its sub-tree) to the fade target. B provides TTransparableI.

#include <algorithm>

#include "ui/delegate.h"
#include "ui/gobject.h"
#include "ui/touch.h"

namespace zentri {

// The handler that makes a node a touch target without doing anything; one for all buttons.
inline const shared_ptr<Delegate<GObjectPtr&, const Touch&>>& IgnoreTouch() {
    static const shared_ptr<Delegate<GObjectPtr&, const Touch&>> handler(
        new FnDelegate<GObjectPtr&, const Touch&>(nullptr));
    return handler;
}

template <class B>
class THotButton : public B {
  public:
    // A touch target (pressed and released) even when nobody subscribes.
    THotButton() { this->OnTouch().Add(IgnoreTouch()); }

    void SetPressDim(int value) { pressDim = value; }
    int PressDim() const { return pressDim; }
    // The transparency remembered at the first press; -1 before it.
    int RestTransparency() const { return restTransparency; }

    void Pressed(const Touch& touch, bool isPressed) override {
        B::Pressed(touch, isPressed);
        if (restTransparency < 0) restTransparency = this->Transparency();
        this->StopFade();  // a fade back from an earlier press must not undo the dimming
        this->SetTransparency(std::max(restTransparency - pressDim, 0), false);
    }
    void Released(const Touch& touch) override {
        B::Released(touch);
        this->FadeTo(this->FadeTarget(), this->FadeSteps());
    }

  protected:
    int pressDim = 80;
    int restTransparency = -1;
};

}  // namespace zentri
