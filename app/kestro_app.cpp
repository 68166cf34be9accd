#include "app/kestro_app.h"

#include "app/kestro.h"
#include "app/loading.h"
#include "app/localization.h"
#include "manager/app_manager.h"
#include "net/http_request.h"
#include "platform/device_program.h"
#include "scenes/login_scene.h"
#include "scenes/multi_scene_layout.h"
#include "scenes/scene.h"
#include "ui/image_pool.h"
#include "ui/input_manager.h"
#include "ui/platform/platform_window.h"
#include "widgets/single_layout.h"

namespace zentri {

KestroApp::KestroApp() = default;

KestroApp::~KestroApp() {
    // Workers that end a job report through Kestro::app; from here on there is no application.
    if (Kestro::Instance().app == this) Kestro::Instance().app = nullptr;
    // The indicator's nodes belong to this application's screen, which goes with it.
    if (shellBuilt) Loading::Instance().DropLayer();
    popupBox.Attach(nullptr, nullptr);
    popupBox.OnClosed().RemoveObject(this);
    popupBox.OnFree().RemoveObject(this);
    if (sceneContainer) sceneContainer->OnTouchableChanged().RemoveObject(this);
    sceneContainer = nullptr;
    sceneLayout = nullptr;
    // Scenes go top first, as they would have been popped.
    while (!sceneStack.empty())
        sceneStack.pop_back();
    retired.clear();
    if (server.Root() == root) server.SetRoot(nullptr);
}

void KestroApp::OnCreate(const CreateInfo& info) {
    (void)info;
    // A missing or damaged file leaves every text at its fallback; nothing is reported.
    Localization::Instance().Load(programFolder + u"localization.xml");
    Kestro::Instance().app = this;
    InputManager::Instance().SetApplication(this);
    ImagePool::Instance().SetFolder(programFolder);
    menuBar.Create(true);
    // Installs start the device's \Windows\wceload.exe: the installer stand-in is placed there.
    platform::StageInstaller();
    AppManager::Instance();  // reads the installed applications from the registry
}

void KestroApp::OnDestroy() {
    Kestro::Instance().SaveSettings(programFolder + u"settings.dat");
}

bool KestroApp::OnStart() {
    BuildShell();
    Kestro::Instance().LoadSettings(programFolder + u"settings.dat");
    PushNew<LoginScene>();
    // The loading layer lies above every page and slide.
    root->AddChild(Loading::Instance().BuildLayer());
    return true;
}

void KestroApp::BuildShell() {
    if (shellBuilt) return;
    shellBuilt = true;
    Kestro::Instance().app = this;
    root = GObjectPtr(new GObject);
    sceneContainer = GObjectPtr(new GObject);
    root->AddChild(sceneContainer);
    sceneLayout = shared_ptr<MultiSceneLayout>(new MultiSceneLayout);
    sceneContainer->SetLayout(sceneLayout);
    // While a slide disables the container the soft keys are greyed, and come back with it.
    sceneContainer->OnTouchableChanged().Add(this, &KestroApp::ContainerTouchableChanged);
    server.SetRoot(root);
    root->SetLayout(
        shared_ptr<Layout>(new SingleLayout(SingleLayout::kStart, SingleLayout::kStart, true)));
    popupBox.Attach(&server, &menuBar);
    popupBox.OnClosed().Add(this, &KestroApp::PopupClosed);
    popupBox.OnFree().Add(this, &KestroApp::PopupFree);
}

void KestroApp::OnCommand(int command) {
    if (command != MenuBar::kLeftCommand && command != MenuBar::kRightCommand) {
        Application::OnCommand(command);
        return;
    }
    server.SetFocus(root);
    const bool left = command == MenuBar::kLeftCommand;
    if (popupBox.IsShown()) {
        popupBox.Close(left);  // the closed list tells the top scene first
        if (Scene* top = TopScene(); top && !popupBox.IsShown()) Activate(*top);
        return;
    }
    shared_ptr<Scene> top = sceneStack.empty() ? nullptr : sceneStack.back();
    if (!top) return;
    if (left)
        top->OnLeftSoftKey();
    else
        top->OnRightSoftKey();
}

void KestroApp::Timer(int id) {
    // Scenes popped inside one of their own handlers are released here, outside of it.
    retired.clear();
    Application::Timer(id);
}

shared_ptr<Delegation_1<PopupBox::PopupBoxResult>> KestroApp::ShowPopup(
    const std::u16string& caption, const std::u16string& text, const std::u16string& leftText,
    const std::u16string& rightText) {
    return popupBox.Show(caption, text, leftText, rightText);
}

void KestroApp::PopupClosed() {
    if (Scene* top = TopScene()) top->OnPopupClosed();
}

void KestroApp::PopupFree() {
    // A question application management had to hold back may be asked now.
    AppManager::Instance().OnPopupClosed();
}

void KestroApp::Quit() {
    if (window) window->PostClose();
}

void KestroApp::SetSoftKeys(const std::u16string& left, const std::u16string& right) {
    leftKey = left;
    rightKey = right;
    menuBar.SetLeftText(left);
    menuBar.SetRightText(right);
    const bool idle = !root || root->IsTouchable();
    menuBar.SetLeftEnabled(idle && !left.empty());
    menuBar.SetRightEnabled(idle && !right.empty());
}

void KestroApp::SetBusy(bool enabled) {
    if (!busyTracking) return;
    if (root) root->SetTouchable(enabled);
    // An open box keeps its keys: it must stay answerable.
    if (popupBox.IsShown()) return;
    menuBar.SetLeftEnabled(enabled && !leftKey.empty());
    menuBar.SetRightEnabled(enabled && !rightKey.empty());
}

void KestroApp::ContainerTouchableChanged(GObjectPtr& container, bool touchable) {
    (void)container;
    SetBusy(touchable);
}

}  // namespace zentri
