#pragma once
// TVerticalMoveI: moves the node up or down to a y position, easing in and out.

#include "ui/interpolator.h"
#include "ui/property.h"
#include "ui/states_chain.h"
#include "widgets/chain_run.h"

namespace zentri {

template <class B>
class TVerticalMoveI : public B {
  public:
    TVerticalMoveI()
        : moveChain(new ComplexStatesChain<int>(new CubicInterpolator<int>,
                                                new YPositionProperty(this))) {}
    // A move still running must not write into a node that is gone.
    ~TVerticalMoveI() override { moveChain->Lock(); }

    // Moves from the current y to `toY` in `steps` frames of 40 ms. Without a server or without
    // steps the node is placed there at once. A move that is still running is replaced (see
    // RunOnce).
    void MoveToY(int toY, int steps) {
        moveChain->Reset();
        if (steps <= 0 || !this->Server()) {
            this->SetPosition(this->X(), toY);
            return;
        }
        moveChain->SetTarget(steps, toY);
        RunOnce(*this, moveChain);
    }
    // Ends a running move where it is.
    void StopMove() { moveChain->Reset(); }
    bool Moving() const { return moveChain->DriverCount() > 0; }

    const shared_ptr<ComplexStatesChain<int>>& MoveChain() const { return moveChain; }

  protected:
    shared_ptr<ComplexStatesChain<int>> moveChain;
};

}  // namespace zentri
