#pragma once
// The application object: start-up in two phases (while the window is made, then once the UI
// server exists), the soft keys, the settings file at shutdown, and the navigation between
// scenes (a stack of scenes whose pages slide horizontally in one container). The lower layers
// reach it through Kestro::Instance().app: the session state, the answer parsers and
// application management call PopToLogin, ShowPopup, OpenMyApps and RebuildCatalogueScenes.
// Every operation runs on the UI thread or in a worker that holds appLock.

#include <string>
#include <utility>
#include <vector>

#include "ui/application.h"
#include "ui/delegate.h"
#include "ui/shared_object.h"
#include "widgets/popup_box.h"

namespace zentri {

class MultiSceneLayout;
class Scene;
class StatesChain;

class KestroApp : public Application {
  public:
    // Why RebuildCatalogueScenes is called; scenes may ask for it in NeedsRebuild.
    enum RebuildReason : int {
        kRebuildAfterInstall = 1,
        kRebuildAfterUninstall = 2,
        kRebuildAfterReview = 3,
    };
    // Frames of 40 ms that a scene slide takes.
    static constexpr int kSlideSteps = 6;

    KestroApp();
    ~KestroApp() override;

    // ---- start-up and shutdown ----
    void OnCreate(const CreateInfo& info) override;
    void OnDestroy() override;
    void OnCommand(int command) override;
    void Timer(int id) override;
    bool OnStart() override;
    // Phase 2 without the first scene: the root, the scene container with its layout, the
    // popup box and the loading layer over the server's root. Tests build the shell this way
    // on a server they step themselves.
    void BuildShell();

    // ---- navigation ----
    void PushScene(const shared_ptr<Scene>& scene);
    // Makes a scene of type T from `args` and pushes it.
    template <class T, class... A>
    void PushNew(A&&... args) {
        PushScene(shared_ptr<Scene>(new T(std::forward<A>(args)...)));
    }
    // Back by one scene: animated (the scene goes when the slide ends) or at once.
    void GoBack();
    void PopImmediately();
    // Back at once until the home (main menu) or login scene is on top; nothing when it is not
    // on the stack, and the last scene is never popped.
    void PopToHome();
    virtual void PopToLogin();
    // Pops at once until `scene` is on top; false (and nothing popped) when it is not stacked.
    bool PopTo(const Scene* scene);
    // Every stacked scene rebuilt, bottom first (after the language changed).
    void RebuildAll();
    // Rebuilds every stacked scene whose NeedsRebuild(reason) answers true, bottom first.
    // Install and uninstall workers call it when a job ends.
    virtual void RebuildCatalogueScenes(int reason);
    // While busy tracking is on: both soft keys and the root's touches on or off.
    void SetBusy(bool enabled);
    // Sets the soft keys' texts (an empty text disables that key).
    void SetSoftKeys(const std::u16string& left, const std::u16string& right);
    // Pushes the my-apps scene (installed applications and running installs).
    virtual void OpenMyApps();

    // Shows the popup box; the caller subscribes its answer handler to the returned list. Null,
    // and nothing shown, while another box is on screen. An empty right text disables that key.
    // Once a box's answer handlers have run (the box's OnFree), application management is told
    // (AppManager::OnPopupClosed), so that a question that found the box taken is asked then.
    virtual shared_ptr<Delegation_1<PopupBox::PopupBoxResult>> ShowPopup(
        const std::u16string& caption, const std::u16string& text, const std::u16string& leftText,
        const std::u16string& rightText);
    // Closes the main window: the program ends.
    void Quit();

    const std::vector<shared_ptr<Scene>>& SceneStack() const { return sceneStack; }
    Scene* TopScene() const;
    bool OnStack(const Scene* scene) const;
    const GObjectPtr& SceneContainer() const { return sceneContainer; }
    bool PopPending() const { return popPending; }

    // The scene the header's home icon returns to (the main menu, set when it builds); the
    // scene a rejected session returns to (the login scene). Not owned.
    Scene* homeScene = nullptr;
    Scene* loginScene = nullptr;
    // While on, SetBusy acts; the main menu turns it off while it sends the configuration.
    bool busyTracking = true;
    // The program's one popup box, laid over the UI server's root and answered by the menu
    // bar's soft keys.
    PopupBox popupBox;

  private:
    void Activate(Scene& scene);
    void RemoveTop(bool slideDone);
    void TransitionEnd(StatesChain* chain, int from, int to, int count);
    void ContainerTouchableChanged(GObjectPtr& container, bool touchable);
    void PopupClosed();
    void PopupFree();

    std::vector<shared_ptr<Scene>> sceneStack;
    // Popped scenes whose own handler may still be running; released on the next frame.
    std::vector<shared_ptr<Scene>> retired;
    std::u16string leftKey;  // the top scene's soft key texts
    std::u16string rightKey;
    shared_ptr<MultiSceneLayout> sceneLayout;
    GObjectPtr sceneContainer;
    GObjectPtr root;
    bool popPending = false;
    bool shellBuilt = false;
};

}  // namespace zentri
