#pragma once
// TAnimatedImage: loops through the images stored under states 0..n-1, each shown for
// framesPerImage frames of 40 ms, until stopped (the loading indicator's spinner).

#include <algorithm>

#include "ui/animator.h"
#include "ui/interpolator.h"
#include "ui/property.h"
#include "ui/states_chain.h"
#include "widgets/chain_run.h"

namespace zentri {

// The frame an animated image shows: setting v shows image state v.
template <class T>
class ImageProperty : public Property<int> {
  public:
    explicit ImageProperty(T* target) : target(target) {}
    void Set(int value) override { target->ShowImage(value, false); }
    int Get() override { return target->CurrentState(); }

  protected:
    T* target;
};

template <class B>
class TAnimatedImage : public B {
  public:
    TAnimatedImage()
        : frameChain(new ComplexStatesChain<int>(new LinearInterpolator<int>,
                                                 new ImageProperty<TAnimatedImage>(this))) {}
    // The loop must not write into a node that is gone.
    ~TAnimatedImage() override { frameChain->Lock(); }

    void SetFramesPerImage(int frames) { framesPerImage = std::max(frames, 1); }
    int FramesPerImage() const { return framesPerImage; }
    // The number of images stored under 0, 1, 2, ... without a gap.
    int ImageCount() const {
        int n = 0;
        while (this->HasImage(n))
            ++n;
        return n;
    }

    // Makes the node visible and starts the loop at image 0. The last image is held as long as
    // the others (one more key at the end of the run). Starting again while it runs restarts
    // it: the earlier loop ends at the next tick (see RunOnce).
    void Start() {
        this->SetVisible(true);
        frameChain->Unlock();
        frameChain->Reset();
        this->ShowImage(0, false);
        int n = ImageCount();
        if (n < 2) return;  // nothing to animate
        frameChain->SetTarget(framesPerImage * (n - 1), n - 1);
        frameChain->SetTarget(framesPerImage * n - 1, n - 1);
        RunLooping(*this, frameChain, StateAnimator::kRestart);
    }
    // The loop ends at its next step; the node keeps showing its current image.
    void Stop() { frameChain->Lock(); }
    bool Running() const { return !frameChain->IsLocked() && frameChain->DriverCount() > 0; }

    const shared_ptr<ComplexStatesChain<int>>& FrameChain() const { return frameChain; }

  protected:
    int framesPerImage = 1;
    shared_ptr<ComplexStatesChain<int>> frameChain;
};

}  // namespace zentri
