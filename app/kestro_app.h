#pragma once
// The application as the lower layers see it: the navigation and the popup box that the session
// state, the answer parsers and application management set off without knowing the scenes.
// Every operation is called on the UI thread or by a worker that holds appLock.

#include <string>

#include "ui/delegate.h"
#include "ui/shared_object.h"
#include "widgets/popup_box.h"

namespace zentri {

// Derives from Application (ui/application.h) once the application shell exists.
class KestroApp {
  public:
    // Why RebuildCatalogueScenes is called; scenes may ask for it in NeedsRebuild.
    enum RebuildReason : int {
        kRebuildAfterInstall = 1,
        kRebuildAfterUninstall = 2,
        kRebuildAfterReview = 3,
    };

    virtual ~KestroApp();

    // The session is no longer valid: back to the sign-in scene.
    virtual void PopToLogin() = 0;

    // Shows the popup box; the caller subscribes its answer handler to the returned list. Null,
    // and nothing shown, while another box is on screen. An empty right text disables that key.
    // The program's box is `popupBox`; test doubles may answer otherwise.
    // Once a box's answer handlers have run (the box's OnFree), the application calls
    // AppManager::OnPopupClosed, so that a question that found the box taken is asked then.
    virtual shared_ptr<Delegation_1<PopupBox::PopupBoxResult>> ShowPopup(
        const std::u16string& caption, const std::u16string& text, const std::u16string& leftText,
        const std::u16string& rightText);

    // Pushes the my-apps scene (installed applications and running installs).
    virtual void OpenMyApps() = 0;

    // Rebuilds every scene on the navigation stack whose NeedsRebuild(reason) answers true,
    // bottom first. Install and uninstall workers call it when a job ends.
    virtual void RebuildCatalogueScenes(int reason) = 0;

    // The program's one popup box, laid over the UI server's root and answered by the menu
    // bar's soft keys once the window exists (PopupBox::Attach).
    PopupBox popupBox;
};

}  // namespace zentri
