#pragma once
// The page of one catalogue application: icon, developer, version and description, the action
// buttons that fit its state on the device (install; or run, uninstall and update), its rating,
// and the ways to its screenshots, its reviews and to rating it. Its developer and its tags
// lead to lists of the catalogue. The details are fetched each time the page is built, and the
// page is built again whenever an install or uninstall ends or a review is accepted, so its
// buttons follow the application's state.

#include <string>

#include "manager/app.h"
#include "net/xml_response_appdetails.h"
#include "scenes/scene.h"

namespace zentri {

class AppDetailsScene : public Scene {
  public:
    // `crumb` is the title of the page it was opened from; empty takes the header title of the
    // scene below it on the stack.
    explicit AppDetailsScene(shared_ptr<zentri::App> listed, std::u16string crumb = {});

    void Build(GObjectPtr& page) override;
    bool NeedsRebuild(int reason) override;

    // The application as the last details answer described it (null before the first one).
    const shared_ptr<zentri::App>& Details() const { return app; }

  private:
    void DetailsDone(HttpRequest* request, bool ok);
    void BuildContent();
    void AddActions();
    void AddTags();
    void AddRating();
    void Run();
    void Install();
    void Update();
    void Uninstall();
    void OpenDeveloperList();
    void OpenTagList(const std::u16string& tag);
    std::u16string CrumbFromSceneBelow() const;

    std::u16string appName;
    std::u16string crumb;
    int32_t appId = 0;
    GObjectPtr content;
    shared_ptr<HttpRequest> detailsRequest;
    shared_ptr<zentri::App> app;
    AppDescription details;
};

}  // namespace zentri
