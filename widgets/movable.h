#pragma once
// TMovableI: moves the node to a position, both coordinates together, easing in and out.

#include <algorithm>

#include "ui/interpolator.h"
#include "ui/property.h"
#include "ui/states_chain.h"
#include "widgets/chain_run.h"

namespace zentri {

template <class B>
class TMovableI : public B {
  public:
    TMovableI()
        : xChain(
              new ComplexStatesChain<int>(new CubicInterpolator<int>, new XPositionProperty(this))),
          yChain(
              new ComplexStatesChain<int>(new CubicInterpolator<int>, new YPositionProperty(this))),
          moveChain(new ParallelStatesChain) {
        moveChain->AddChain(xChain);
        moveChain->AddChain(yChain);
    }
    // A move still running must not write into a node that is gone.
    ~TMovableI() override {
        moveChain->Lock();
        xChain->Lock();
        yChain->Lock();
    }

    // Moves from the current position to (toX, toY) in `steps` frames of 40 ms (a run of
    // steps + 1 states). Without a server or without steps the node is placed there at once. A
    // move that is still running is replaced (see RunOnce).
    void MoveTo(int toX, int toY, int steps) {
        xChain->Reset();
        yChain->Reset();
        moveChain->SetCount(1);
        if (steps <= 0 || !this->Server()) {
            this->SetPosition(toX, toY);
            return;
        }
        xChain->SetTarget(steps, toX);
        yChain->SetTarget(steps, toY);
        moveChain->SetCount(std::max(xChain->Count(), yChain->Count()));
        RunOnce(*this, moveChain);
    }
    bool Moving() const { return moveChain->DriverCount() > 0; }

    // The joined chain: its state notification tells when a move arrives (its last state).
    const shared_ptr<ParallelStatesChain>& MoveChain() const { return moveChain; }
    const shared_ptr<ComplexStatesChain<int>>& XChain() const { return xChain; }
    const shared_ptr<ComplexStatesChain<int>>& YChain() const { return yChain; }

  protected:
    shared_ptr<ComplexStatesChain<int>> xChain;
    shared_ptr<ComplexStatesChain<int>> yChain;
    shared_ptr<ParallelStatesChain> moveChain;
};

}  // namespace zentri
