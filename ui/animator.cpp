#include "ui/animator.h"

#include <algorithm>

namespace zentri {

StateAnimator::StateAnimator(const shared_ptr<StatesChain>& chain, int target, bool loop, int mode,
                             int repeat)
    : target(target), start(0), repeat(repeat), loop(loop), mode(mode), chain(chain) {
    if (!chain) {
        driving_ = false;
        return;
    }
    int last = chain->Count() - 1;
    if (target == kFirstState)
        this->target = 0;
    else if (target == kLastState)
        this->target = last;
    else
        this->target = std::clamp(target, 0, last);
    chain->AddDriver();
    start = chain->State();
}

// An animator that is dropped before it finished (never scheduled, or released by its owner)
// stops driving its chain, so the chain does not stay claimed for ever.
StateAnimator::~StateAnimator() {
    StopDriving();
}

void StateAnimator::StopDriving() {
    if (!driving_) return;
    driving_ = false;
    chain->RemoveDriver();
}

bool StateAnimator::Step() {
    if (!driving_) return false;
    int cur = chain->State();
    bool result;
    if (target > cur)
        result = chain->SetState(cur + 1);
    else if (target < cur)
        result = chain->SetState(cur - 1);
    else
        result = Loop();
    if (!result) StopDriving();
    return result;
}

// The chain has arrived at the target.
bool StateAnimator::Loop() {
    if (!loop) return false;
    if (repeat > 1)
        --repeat;
    else if (repeat == 0 || repeat == 1)
        return false;
    switch (mode) {
        case kRestart:
            return chain->SetState(start);
        case kBounce: {
            std::swap(start, target);
            int cur = chain->State();
            if (target == cur) return false;
            return chain->SetState(target > cur ? cur + 1 : cur - 1);
        }
        default:
            return false;
    }
}

}  // namespace zentri
