#pragma once
// TTransparableI: fades the node and its whole sub-tree to a transparency, easing in and out.

#include "ui/interpolator.h"
#include "ui/property.h"
#include "ui/states_chain.h"
#include "widgets/chain_run.h"

namespace zentri {

template <class B>
class TTransparableI : public B {
  public:
    TTransparableI()
        : transparencyChain(new ComplexStatesChain<int>(new CubicInterpolator<int>,
                                                        new TransparencyChildsProperty(this))) {}
    // A fade still running must not write into a node that is gone.
    ~TTransparableI() override { transparencyChain->Lock(); }

    // Fades from the current transparency to `value` over `steps` frames of 40 ms. Without a
    // server (not on screen) or without steps, the node takes the value at once, which is where
    // the fade would have ended. A fade that is still running is replaced (see RunOnce).
    void FadeTo(int value, int steps) {
        transparencyChain->Reset();
        if (steps <= 0 || !this->Server()) {
            this->SetTransparency(value, true);
            return;
        }
        transparencyChain->SetTarget(steps, value);
        RunOnce(*this, transparencyChain);
    }
    // Ends a running fade where it is.
    void StopFade() { transparencyChain->Reset(); }

    void SetFadeTarget(int value) { fadeTarget = value; }
    void SetFadeSteps(int steps) { fadeSteps = steps; }
    int FadeTarget() const { return fadeTarget; }
    int FadeSteps() const { return fadeSteps; }
    // For users that compose their own runs (several targets, state notifications).
    const shared_ptr<ComplexStatesChain<int>>& TransparencyChain() const {
        return transparencyChain;
    }

  protected:
    shared_ptr<ComplexStatesChain<int>> transparencyChain;
    int fadeTarget = 255;
    int fadeSteps = 8;
};

}  // namespace zentri
