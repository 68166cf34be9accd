#include "scenes/my_apps_scene.h"

#include <algorithm>

#include "app/kestro.h"
#include "app/kestro_app.h"
#include "app/localization.h"
#include "manager/app_manager.h"
#include "scenes/add_app_row.h"
#include "scenes/app_actions.h"
#include "scenes/app_details_scene.h"
#include "scenes/control_bar_layout.h"
#include "ui/counted_ref.h"
#include "ui/font_manager.h"
#include "widgets/image.h"
#include "widgets/label.h"
#include "widgets/list_layout.h"

namespace zentri {

using AppStatus = App::AppStatusType;

// Follows one application's activities for one row.
class MyApp_AppInfo : public Delegate<App*, AppStatus, bool, double, bool> {
  public:
    MyApp_AppInfo(GObject* row, MyAppsScene* scene) : row(row), scene(scene) {}
    void Invoke(App* app, AppStatus type, bool finished, double progress, bool success) override {
        scene->OnAppStatus(row, app, type, finished, progress, success);
    }
    // One per row: two handlers are the same when they serve the same row.
    bool Equals(const Delegate& other) const override {
        auto* o = dynamic_cast<const MyApp_AppInfo*>(&other);
        return o && o->row == row;
    }

  private:
    GObject* row;
    MyAppsScene* scene;
};

namespace {

using ProgressBar = TLabel<TImage<GObject>>;

// A destroyed row is never updated: it takes its handler off the application.
class MyApp_Destroy : public Delegate<> {
  public:
    MyApp_Destroy(GObject* row, shared_ptr<App> app) : row(row), app(std::move(app)) {}
    void Invoke() override { app->StatusChanged.Remove(MyApp_AppInfo(row, nullptr)); }

  private:
    GObject* row;
    shared_ptr<App> app;
};

}  // namespace

MyAppsScene::~MyAppsScene() {
    Unsubscribe();
}

bool MyAppsScene::NeedsRebuild(int reason) {
    (void)reason;
    return true;
}

void MyAppsScene::Unsubscribe() {
    for (const Subscription& s : subscriptions)
        s.app->StatusChanged.Remove(MyApp_AppInfo(s.row, this));
    subscriptions.clear();
    detailRows.clear();
}

void MyAppsScene::Build(GObjectPtr& page) {
    Unsubscribe();
    content = CreateContent(page);
    AddHeader(page, Str(5004), true, Str(5000));
    AppManager& manager = AppManager::Instance();
    // Copies: a handler of the first rows must not change the maps under the loop.
    const AppManager::AppMap downloads = manager.GetDownloads();
    const AppManager::AppMap installed = manager.GetInstalled();
    for (const auto& [sysid, app] : downloads)
        AddRow(app, false);
    for (const auto& [sysid, app] : installed)
        AddRow(app, true);
    Regroup();
}

void MyAppsScene::AddRow(const shared_ptr<zentri::App>& app, bool installed) {
    GObjectPtr row = AddListItem(content);
    AddAppRow(row, app, true);
    FillControls(row, app, 0.0);
    if (installed && app->catalogueValid) AddDetailsTouch(row, app);
    app->StatusChanged.Add(shared_ptr<Delegate<zentri::App*, AppStatus, bool, double, bool>>(
        new MyApp_AppInfo(row.get(), this)));
    row->OnDestroyed().Add(shared_ptr<Delegate<>>(new MyApp_Destroy(row.get(), app)));
    subscriptions.push_back({app, row.get()});
}

void MyAppsScene::AddDetailsTouch(const GObjectPtr& row, const shared_ptr<zentri::App>& app) {
    if (std::find(detailRows.begin(), detailRows.end(), row.get()) != detailRows.end()) return;
    detailRows.push_back(row.get());
    OnTap(row, [app] {
        Kestro::Instance().app->PushScene(
            shared_ptr<Scene>(new AppDetailsScene(app, Localization::Instance().Get(5004))));
    });
}

void MyAppsScene::FillControls(const GObjectPtr& row, const shared_ptr<zentri::App>& app,
                               double progress) {
    GObjectPtr bar;
    if (!row->FindChild(kControlBarId, bar)) return;
    bar->RemoveAllChildren();
    auto button = [&](int textId, int id) {
        auto b = AddButton(bar, Str(textId));
        b->SetId(id);
        return b;
    };
    auto run = button(11000, ControlBarLayout::kRun);
    OnTap(run, [app] { AppManager::Instance().Run(app->sysid, app->exe); });
    auto update = button(11001, ControlBarLayout::kUpdate);
    OnTap(update, [this, app] { AskUpdate(app); });
    auto uninstall = button(11002, ControlBarLayout::kUninstall);
    OnTap(uninstall, [this, app] { AskUninstall(app); });

    shared_ptr<ProgressBar> progressBar(new ProgressBar);
    progressBar->SetStretch(true);
    progressBar->AddImage(0, u"progress.png");
    progressBar->ShowImage(0);
    progressBar->SetProgress(0.0, 1.0);
    progressBar->SetText(Str(11003));
    progressBar->SetFont(600, U());
    progressBar->SetFormat(TextFormat::Center | TextFormat::VCenter);
    progressBar->SetTouchable(false);
    bar->AddChild(progressBar, ControlBarLayout::kProgress);
    bar->SetLayout(shared_ptr<Layout>(new ControlBarLayout(U())));

    const RowControls controls = ControlsFor(*app, ActivityOf(*app), StateOnDevice(*app), progress);
    row->SetTag(controls.section);
    update->SetVisible(controls.update);
    run->SetVisible(controls.run);
    uninstall->SetVisible(controls.uninstall);
    progressBar->SetVisible(controls.progress);
    if (controls.statusText != 0) progressBar->SetText(Str(controls.statusText));
    progressBar->SetProgress(controls.progressValue, 1.0);
}

void MyAppsScene::Regroup() {
    std::vector<GObjectPtr> sections[3];
    for (size_t i = 0; i < content->ChildCount(); ++i) {
        const GObjectPtr& row = content->ChildAt(i);
        const unsigned tag = row->Tag();
        if (tag >= kSectionBusy && tag <= kSectionOther)
            sections[tag - kSectionBusy].push_back(row);
    }
    content->SetLayout(nullptr);
    content->RemoveAllChildren();
    static constexpr int kTitles[3] = {11010, 11011, 11012};
    std::vector<int> headers;
    for (int s = 0; s < 3; ++s) {
        if (sections[s].empty()) continue;
        headers.push_back(static_cast<int>(content->ChildCount()));
        auto header = AddListItem(content);
        header->SetTouchable(false);
        AddSectionHeader(header, Str(kTitles[s]));
        for (const GObjectPtr& row : sections[s])
            content->AddChild(row);
    }
    content->SetLayout(shared_ptr<Layout>(new ListLayout(6 * U(), U(), headers)));
}

void MyAppsScene::OnAppStatus(GObject* rowNode, zentri::App* appNode, AppStatus type, bool finished,
                              double progress, bool success) {
    GObjectPtr row = CountedRef(rowNode);
    shared_ptr<zentri::App> app = CountedRef(appNode);
    if (!row || !app || !content) return;
    if (type == App::Uninstalling && finished && !success) ShowMessage(11008);
    if (type == App::Installing && finished && !success) ShowMessage(11013);
    if (type == App::LoadingDetails && finished && success) {
        // The catalogue knows it now: its row shows the catalogue's entry and opens its page.
        AddAppRow(row, app, true);
        FillControls(row, app, 0.0);
        AddDetailsTouch(row, app);
        Regroup();
        return;
    }
    FillControls(row, app, progress);
    // Progress during a download only moves the bar.
    if (type == App::Downloading && progress > 0.0 && progress < 1.0) return;
    Regroup();
}

void MyAppsScene::AskUpdate(const shared_ptr<zentri::App>& app) {
    const int32_t installedRevision = AppManager::Instance().GetInstalledRevision(app->sysid);
    GObjectPtr list = content;
    Confirm(App(), UpdateQuestion(*app, installedRevision), [app, list] {
        list->SetPosition(0, 0);
        AppManager::Instance().Update(app);
    });
}

void MyAppsScene::AskUninstall(const shared_ptr<zentri::App>& app) {
    GObjectPtr list = content;
    Confirm(App(), UninstallQuestion(*app), [app, list] {
        list->SetPosition(0, 0);
        app->Uninstall();
    });
}

}  // namespace zentri
