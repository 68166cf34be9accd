#pragma once
// The applications the program knows on this device: first installs under way and installed
// applications, grouped into three sections (busy, in the catalogue, not in the catalogue).
// Each row has a bar of update, run and uninstall buttons that turns into a progress bar while
// the application downloads, installs or uninstalls. Rows follow their application's
// StatusChanged; the page is built again from application management on every rebuild.

#include <vector>

#include "manager/app.h"
#include "scenes/scene.h"

namespace zentri {

class MyAppsScene : public Scene {
  public:
    // Child id of a row's control bar (the row's bottom line) and the ids inside it.
    static constexpr int kControlBarId = 30;

    ~MyAppsScene() override;
    void Build(GObjectPtr& page) override;
    bool NeedsRebuild(int reason) override;

    // (Re)builds the control bar of `row` for the application's present state; `progress` is
    // the download's fraction.
    void FillControls(const GObjectPtr& row, const shared_ptr<zentri::App>& app, double progress);
    // Orders the rows of the content into their sections, each under its title.
    void Regroup();
    const GObjectPtr& Content() const { return content; }

  private:
    friend class MyApp_AppInfo;
    struct Subscription {
        shared_ptr<zentri::App> app;
        GObject* row;
    };

    void AddRow(const shared_ptr<zentri::App>& app, bool installed);
    void AddDetailsTouch(const GObjectPtr& row, const shared_ptr<zentri::App>& app);
    void OnAppStatus(GObject* row, zentri::App* app, zentri::App::AppStatusType type, bool finished,
                     double progress, bool success);
    void AskUpdate(const shared_ptr<zentri::App>& app);
    void AskUninstall(const shared_ptr<zentri::App>& app);
    void Unsubscribe();

    GObjectPtr content;
    std::vector<Subscription> subscriptions;
    std::vector<GObject*> detailRows;  // rows that already open the details page
};

}  // namespace zentri
