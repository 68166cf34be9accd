#include "scenes/main_menu_scene.h"

#include <string>

#include "app/kestro.h"
#include "app/kestro_app.h"
#include "manager/app_manager.h"
#include "net/http_request.h"
#include "net/xml_response.h"
#include "scenes/about_scene.h"
#include "scenes/apps_scene.h"
#include "scenes/cats_scene.h"
#include "scenes/my_apps_scene.h"
#include "scenes/search_scene.h"
#include "scenes/settings_scene.h"
#include "widgets/list_layout.h"

namespace zentri {

MainMenuScene::~MainMenuScene() {
    if (subscribed) AppManager::Instance().UpdatesChanged.RemoveObject(this);
}

void MainMenuScene::Build(GObjectPtr& page) {
    KestroApp& app = App();
    // The main menu's own header has no home icon; every header above it has.
    app.homeScene = nullptr;
    AddHeader(page, Str(5000), false, u"");
    app.homeScene = this;

    GObjectPtr content = CreateContent(page);
    struct Entry {
        const char16_t* icon;
        int text;
        std::function<void()> open;
    };
    const Entry entries[] = {
        {u"icon_top.png", 5001,
         [this] {
             App().PushNew<AppsScene>(Str(5001), Str(5000), nullptr, u"", u"", u"", 25, -1, true);
         }},
        {u"icon_cats.png", 5002,
         [this] { App().PushNew<CatsScene>(&Kestro::Instance().GetRootCategory(), nullptr); }},
        {u"icon_search.png", 5003, [this] { App().PushNew<SearchScene>(); }},
        {u"icon_myapps.png", 5004, [this] { App().PushNew<MyAppsScene>(); }},
        {u"icon_settings.png", 5005, [this] { App().PushNew<SettingsScene>(false); }},
    };
    for (const Entry& entry : entries) {
        shared_ptr<SceneListItem> item = AddListItem(content);
        FillListItem(item, Str(entry.text), entry.icon, u"more_arrow.png");
        OnTap(item, entry.open);
        if (entry.text != 5004) continue;
        updatesBubble = shared_ptr<TLabel<TImage<GObject>>>(new TLabel<TImage<GObject>>);
        updatesBubble->SetStretch(true);
        updatesBubble->AddImage(0, u"bubble.png");
        updatesBubble->ShowImage(0);
        updatesBubble->SetTextColor(Color{255, 255, 255});
        updatesBubble->SetFont(600, U());
        updatesBubble->SetFormat(TextFormat::Center | TextFormat::VCenter);
        updatesBubble->SetTouchable(false);
        updatesBubble->SetVisible(false);
        item->AddChild(updatesBubble, kBubbleId);
    }
    content->SetLayout(shared_ptr<Layout>(new ListLayout(4 * U(), 0)));
    if (!subscribed) {
        AppManager::Instance().UpdatesChanged.Add(this, &MainMenuScene::UpdatesChanged);
        subscribed = true;
    }
    UpdatesChanged();
}

void MainMenuScene::UpdatesChanged() {
    if (!updatesBubble) return;
    const int32_t count = AppManager::Instance().GetPendingUpdates();
    updatesBubble->SetVisible(count != 0);
    if (count != 0) {
        std::string digits = std::to_string(count);
        updatesBubble->SetText(std::u16string(digits.begin(), digits.end()));
    }
}

void MainMenuScene::Activate(GObjectPtr& page) {
    (void)page;
    KestroApp& app = App();
    app.SetSoftKeys(Str(13000), Str(6));
    if (!Kestro::Instance().configNeeded) return;
    app.SetBusy(false);
    // The loading indicator must not give the keys back before the answer is handled.
    app.busyTracking = false;
    configRequest = Kestro::Instance().BuildConfigRequest();
    if (!configRequest) {
        app.busyTracking = true;
        app.SetBusy(true);
        return;
    }
    configRequest->Completion().Add(this, &MainMenuScene::ConfigDone);
    Track(configRequest);
}

void MainMenuScene::ConfigDone(HttpRequest* request, bool ok) {
    Kestro& k = Kestro::Instance();
    KestroApp& app = App();
    k.configNeeded = false;
    app.busyTracking = true;
    app.SetBusy(true);
    int32_t code =
        ok ? XMLResponse_Config().Parse(request->Body(), request->Size()) : kResultUnreadable;
    if (code == kResultOk) {
        k.savedProfile = k.profile;
        AppManager::Instance().CheckUpdates();
        return;
    }
    // The service keeps the last accepted profile; so does the client.
    k.profile = k.savedProfile;
    ShowMessage(code);
}

void MainMenuScene::OnLeftSoftKey() {
    App().PushNew<AboutScene>();
}

void MainMenuScene::OnRightSoftKey() {
    ConfirmExit();
}

void MainMenuScene::RequestConfigRefresh() {
    Kestro::Instance().ClearCatalogue();
    Kestro::Instance().configNeeded = true;
}

}  // namespace zentri
