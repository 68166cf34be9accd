#pragma once
// The loading indicator: a count of the running requests that asked for it. While the count is
// not zero the indicator (a translucent strip across the bottom of the screen with a spinner at
// its right end) is shown.

#include <cstdint>

#include "ui/gobject.h"
#include "ui/singleton.h"

namespace zentri {

class Loading : public Singleton<Loading> {
  public:
    // One more (true) or one fewer (false) request keeps the indicator on screen. Called by the
    // transport when such a request is created and when it ends. Takes appLock, so it may be
    // called from any thread.
    void Show(bool show);

    // The number of requests that keep the indicator shown.
    int32_t Count() const;

    // Builds the layer that shows the indicator (a plain node to lay over every scene) and
    // keeps its strip and spinner. Before it is built, Show only counts.
    GObjectPtr BuildLayer();
    // Forgets the layer (the application's window is going): from then on Show only counts.
    void DropLayer();
    const GObjectPtr& Strip() const { return strip; }
    const GObjectPtr& Spinner() const { return spinner; }

  private:
    friend class Singleton<Loading>;
    Loading() = default;

    // Brings what is on screen in line with count_ (under appLock).
    void UpdateIndicator();

    int32_t count_ = 0;
    GObjectPtr spinner;
    GObjectPtr strip;
};

}  // namespace zentri
