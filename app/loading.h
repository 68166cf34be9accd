#pragma once
// The loading indicator: a count of the running requests that asked for it. While the count is
// not zero the indicator (a translucent strip across the bottom of the screen with a spinner at
// its right end) is shown.

#include <cstdint>

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

  private:
    friend class Singleton<Loading>;
    Loading() = default;

    // Brings what is on screen in line with count_ (under appLock). The strip and the spinner
    // belong to the loading layer, which is built with the widgets; they are updated here.
    void UpdateIndicator();

    int32_t count_ = 0;
};

}  // namespace zentri
