#pragma once
// The two soft keys of the menu bar: their texts and whether they are enabled. The window
// draws the bar under the program's area; pressing a key sends command 112 (left) or 113
// (right). Calls do nothing while the bar does not exist.

#include <string>

namespace zentri {

class PlatformWindow;

class MenuBar {
  public:
    static constexpr int kResourceId = 110;
    static constexpr int kLeftCommand = 112;
    static constexpr int kRightCommand = 113;

    MenuBar() = default;
    virtual ~MenuBar();
    MenuBar(const MenuBar&) = delete;
    MenuBar& operator=(const MenuBar&) = delete;

    // The owner window, remembered at the window's create message.
    void SetOwner(PlatformWindow* owner, void* instance);
    // Creates the bar (both keys enabled, no texts); false without an owner window.
    bool Create(bool showInputButton);
    bool Exists() const { return bar_ != nullptr; }
    int Height() const;

    void SetLeftText(const std::u16string& text);
    void SetRightText(const std::u16string& text);
    void SetRightEnabled(bool enabled);
    // The left key can be greyed too (while a request is outstanding both keys are).
    void SetLeftEnabled(bool enabled);

  private:
    PlatformWindow* bar_ = nullptr;  // the window that draws the bar, once created
    PlatformWindow* owner_ = nullptr;
    int rightCommand_ = kRightCommand;
    int leftCommand_ = kLeftCommand;
    void* instance_ = nullptr;
};

}  // namespace zentri
