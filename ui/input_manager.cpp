#include "ui/input_manager.h"

#include "ui/base_application.h"

namespace zentri {

void InputManager::Show(int y, int height, bool isCustom) {
    if (shown) return;
    shown = true;
    custom = isCustom;
    Rect keyboard;
    if (custom) {
        onQueryCustomKeyboard.Invoke(keyboard);
    } else {
        int screenW = application_ ? application_->ScreenWidth() : 0;
        int screenH = application_ ? application_->ScreenHeight() : 0;
        keyboard = Rect{0, screenH - kPanelHeight, screenW, kPanelHeight};
    }
    onKeyboardShown.Invoke(y, height, keyboard);
}

void InputManager::Hide() {
    if (!shown) return;
    shown = false;
    if (custom) onHideCustomKeyboard.Invoke();
    onKeyboardHidden.Invoke();
}

}  // namespace zentri
