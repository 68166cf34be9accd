#include "ui/menu_bar.h"

#include "ui/platform/platform_window.h"

namespace zentri {

MenuBar::~MenuBar() {
    if (bar_ && !bar_->IsDestroyed()) bar_->DestroyBar();
}

void MenuBar::SetOwner(PlatformWindow* owner, void* instance) {
    owner_ = owner;
    instance_ = instance;
}

bool MenuBar::Create(bool showInputButton) {
    (void)showInputButton;  // the host keyboard types: there is no input-panel button
    if (!owner_ || !owner_->CreateBar()) return false;
    bar_ = owner_;
    return true;
}

int MenuBar::Height() const {
    return bar_ ? bar_->BarHeight() : 0;
}

void MenuBar::SetLeftText(const std::u16string& text) {
    if (!bar_ || bar_->Bar().leftText == text) return;
    bar_->Bar().leftText = text;
    bar_->BarChanged();
}

void MenuBar::SetRightText(const std::u16string& text) {
    if (!bar_ || bar_->Bar().rightText == text) return;
    bar_->Bar().rightText = text;
    bar_->BarChanged();
}

void MenuBar::SetRightEnabled(bool enabled) {
    if (!bar_ || bar_->Bar().rightEnabled == enabled) return;
    bar_->Bar().rightEnabled = enabled;
    bar_->BarChanged();
}

void MenuBar::SetLeftEnabled(bool enabled) {
    if (!bar_ || bar_->Bar().leftEnabled == enabled) return;
    bar_->Bar().leftEnabled = enabled;
    bar_->BarChanged();
}

}  // namespace zentri
