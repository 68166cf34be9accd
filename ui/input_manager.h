#pragma once
// Shows and hides the on-screen keyboard for edit boxes. The host keyboard types on this
// platform, so the platform panel has a height of 0; the events keep their meaning, and a
// custom keyboard (drawn by the program) can still be offered by a subscriber.

#include "ui/delegate.h"
#include "ui/rect.h"
#include "ui/singleton.h"

namespace zentri {

class BaseApplication;

class InputManager : public Singleton<InputManager> {
  public:
    // Height of the platform's input panel in pixels.
    static constexpr int kPanelHeight = 0;

    // y and height of the edit box asking, and the keyboard's rectangle on the screen.
    Delegation_3<int, int, const Rect&>& OnKeyboardShown() { return onKeyboardShown; }
    Delegation_0& OnKeyboardHidden() { return onKeyboardHidden; }
    // Asked for the rectangle of a custom keyboard (the subscriber fills it in).
    Delegation_1<Rect&>& OnQueryCustomKeyboard() { return onQueryCustomKeyboard; }
    Delegation_0& OnHideCustomKeyboard() { return onHideCustomKeyboard; }

    // The application whose screen the panel covers (null: no screen, the panel is 0 x 0).
    void SetApplication(BaseApplication* app) { application_ = app; }
    // An application that goes away stops being the one whose screen the panel covers.
    void ForgetApplication(const BaseApplication* app) {
        if (application_ == app) application_ = nullptr;
    }
    // Nothing when already shown.
    void Show(int y, int height, bool custom);
    // Nothing when not shown.
    void Hide();
    bool IsShown() const { return shown; }
    bool IsCustom() const { return custom; }

  private:
    friend class Singleton<InputManager>;
    InputManager() = default;

    Delegation_3<int, int, const Rect&> onKeyboardShown;
    Delegation_0 onKeyboardHidden;
    Delegation_1<Rect&> onQueryCustomKeyboard;
    Delegation_0 onHideCustomKeyboard;
    bool shown = false;
    bool custom = false;
    BaseApplication* application_ = nullptr;
};

}  // namespace zentri
