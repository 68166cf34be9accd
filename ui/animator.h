#pragma once
// Animators advance one frame per timer tick of the UI server. A StateAnimator moves a chain
// one state per frame towards a target, optionally looping by restarting or bouncing.

#include "ui/shared_object.h"
#include "ui/states_chain.h"

namespace zentri {

class Animator : public shared_object {
  public:
    ~Animator() override = default;
    virtual void Attach() { ++attachCount; }
    virtual void Detach() { --attachCount; }
    // Advances one frame; false when finished.
    virtual bool Step() = 0;
    int AttachCount() const { return attachCount; }

  protected:
    int attachCount = 0;
};

class StateAnimator : public Animator {
  public:
    enum Mode { kRestart = 0, kBounce = 1 };
    // The target of the whole chain: the first state or the last.
    static constexpr int kFirstState = -2;
    static constexpr int kLastState = -1;

    // target -2 means 0, -1 means count - 1, others are clamped to the chain. repeat -1 loops
    // without end. The animator drives the chain from now until it finishes (or is destroyed).
    StateAnimator(const shared_ptr<StatesChain>& chain, int target, bool loop = false,
                  int mode = kBounce, int repeat = -1);
    ~StateAnimator() override;

    bool Step() override;
    bool Finished() const { return !driving_; }
    // Loops without end (a blinking caret, a spinner).
    bool Endless() const { return driving_ && loop && repeat < 0; }

  protected:
    int target;
    int start;
    int repeat;
    bool loop;
    int mode;
    shared_ptr<StatesChain> chain;

  private:
    bool Loop();
    void StopDriving();
    bool driving_ = true;
};

}  // namespace zentri
