#pragma once
// The platform's UI server: runs the frame timer on the window and paints the dirty area into
// its drawing surface, which it then copies to the window.

#include "ui/platform/wm_surface.h"
#include "ui/ui_server.h"

namespace zentri {

class PlatformWindow;

class WindowsMobileUIServer : public UIServer {
  public:
    static constexpr int kTimerId = 3631;
    static constexpr int kFramePeriodMs = 40;

    bool StartTimer() override;
    void StopTimer() override;
    bool Paint(const Rect& area) override;
    // A new drawing surface of the new size.
    void ScreenResized(int w, int h) override;

    void SetWindow(PlatformWindow* window) { window_ = window; }
    PlatformWindow* Window() const { return window_; }
    void SetBackground(const shared_ptr<Surface>& background) { background_ = background; }
    const shared_ptr<WMSurface>& DrawingSurface() const { return surface_; }

    // Whether anything still changes the screen: a finite animation, an area waiting to be
    // painted, or the last tick that stops the timer (endless animations such as a blinking
    // caret do not count).
    bool Busy() const;

  private:
    PlatformWindow* window_ = nullptr;
    shared_ptr<Surface> background_;
    shared_ptr<WMSurface> surface_;
};

}  // namespace zentri
