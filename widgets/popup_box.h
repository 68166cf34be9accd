#pragma once
// The popup box: the program's one modal message. A half-transparent black backdrop covers the
// whole screen and a dialog panel with a caption and a message slides up into its lower half;
// the two soft keys of the menu bar answer it. At most one box is shown at a time.

#include <cstdint>
#include <string>

#include "ui/delegate.h"
#include "ui/shared_object.h"

namespace zentri {

class MenuBar;
class UIServer;

class PopupBox {
  public:
    // Which soft key answered the box.
    enum PopupBoxResult { LeftKey = 0, RightKey = 1 };
    using ResultEvent = Delegation_1<PopupBoxResult>;

    // Node ids: the backdrop among the root's children, the panel among the backdrop's, the
    // caption and the message among the panel's.
    static constexpr int32_t kObjectId = -21212;
    static constexpr int kPanelId = 500;
    static constexpr int kCaptionId = -5678;
    static constexpr int kMessageId = -5677;

    PopupBox() = default;
    PopupBox(const PopupBox&) = delete;
    PopupBox& operator=(const PopupBox&) = delete;

    // The screen whose root the box is laid over and the menu bar whose soft keys answer it
    // (either may be null: without a root nothing is drawn, without a bar no key is labelled).
    void Attach(UIServer* server, MenuBar* menuBar);

    // Shows a box and returns the list to which the caller subscribes its answer handler. Null,
    // and nothing shown, while another box is shown. An empty right text shows the right key
    // empty and disabled.
    shared_ptr<ResultEvent> Show(const std::u16string& caption, const std::u16string& text,
                                 const std::u16string& leftKeyText,
                                 const std::u16string& rightKeyText);
    // A soft key answered: the box goes at once, the closed list fires (the application tells
    // the top scene), the right key is enabled again and the subscribers get the answer.
    // Nothing when no box is shown.
    void Close(bool leftKey);
    bool IsShown() const { return shown; }

    // Fired by Close before the answer is delivered.
    Delegation_0& OnClosed() { return onClosed; }
    // Fired by Close once the answer's subscribers have run and left the box free (none of them
    // showed the next box): a question that found the box taken may be asked now.
    Delegation_0& OnFree() { return onFree; }

  private:
    shared_ptr<ResultEvent> onResult;
    int32_t objectId = kObjectId;
    bool shown = false;
    UIServer* server = nullptr;
    MenuBar* menuBar = nullptr;
    Delegation_0 onClosed;
    Delegation_0 onFree;
};

}  // namespace zentri
