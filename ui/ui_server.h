#pragma once
// Owns the root of the object tree, the keyboard focus, the touch state, the running
// animators, the dirty area and the frame timer's state. Drawing never happens inside input
// handling: changes invalidate areas, invalidation starts the 40 ms frame timer, each tick
// steps the animators and the window is asked to repaint the dirty area; the timer stops on the
// first tick that finds no animator.

#include <vector>

#include "ui/animator.h"
#include "ui/gobject.h"
#include "ui/rect.h"
#include "ui/shared_object.h"
#include "ui/touch.h"

namespace zentri {

class UIServer : public shared_object {
  public:
    UIServer() = default;
    ~UIServer() override;

    // Platform parts, in slot order.
    virtual bool StartTimer() { return true; }
    virtual void StopTimer() {}
    // Repaints the area; true when it counts as painted.
    virtual bool Paint(const Rect& area) {
        (void)area;
        return true;
    }
    virtual void ScreenResized(int w, int h) { (void)w, (void)h; }
    virtual void WindowChanging() {}
    virtual void FocusLost() {}
    virtual void FocusGained() {}

    // The root gets id 0, the screen's size, this server (whole sub-tree) and the focus.
    void SetRoot(const GObjectPtr& node);
    const GObjectPtr& Root() const { return root; }
    void Resize(int w, int h);
    // Adds the area (cut to the screen) to the dirty area and starts the timer.
    void Invalidate(const Rect& area);
    void Invalidate();  // the whole screen
    void AddAnimator(const shared_ptr<Animator>& animator);
    // The old holder loses the focus; without a new one the on-screen keyboard is hidden.
    void SetFocus(const GObjectPtr& node);
    const GObjectPtr& Focus() const { return focus; }
    void Tick(bool stepAnimators, bool paint);
    // Touch types: 0 down, 1 up, 2 move, 4 double-click (5, the click, is synthesised).
    void DispatchTouch(int type, int x, int y);
    void DispatchKey(int code, int character);

    const Rect& Dirty() const { return dirty; }
    const Rect& Screen() const { return screen; }
    bool TimerRunning() const { return timerRunning; }
    bool HasAnimators() const { return !animators.empty() || !pendingAnimators.empty(); }
    size_t AnimatorCount() const { return animators.size() + pendingAnimators.size(); }
    bool PaintSuspended() const { return paintSuspended; }
    void SetPaintSuspended(bool value) { paintSuspended = value; }
    Touch& CurrentTouch() { return touch; }

  protected:
    void EnsureTimer();
    void TakeOverGesture();
    void StepAnimators(bool& lookedAtAny);

    bool paintSuspended = false;
    Rect dirty;
    Rect screen;
    std::vector<shared_ptr<Animator>> animators;
    std::vector<shared_ptr<Animator>> pendingAnimators;  // added while a tick runs
    bool timerRunning = false;
    bool ticking = false;
    GObjectPtr root;
    GObjectPtr focus;
    Touch touch;
};

}  // namespace zentri
