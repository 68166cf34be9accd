#pragma once
// A list of catalogue applications from one "getapps" answer: the top list, a category's
// applications or a search's results. A filter bar above the list offers the price filter
// (all, paid, free) and the sort button. The top list asks the server again for every change;
// the other lists are fetched whole once and filtered and sorted on the device. The last
// chosen sort key and price filter are kept in the session state (and the settings file) for
// every list opened later. A row opens the application's page.
//
// Rows are made in one layout pass and filled when first drawn, so a list of thousands costs
// little more than the rows on screen, and only the icons of drawn rows are fetched.

#include <string>

#include "net/api_requests.h"
#include "scenes/app_list_order.h"
#include "scenes/scene.h"

namespace zentri {

struct Category;

class AppsScene : public Scene {
  public:
    // The price filters in the order of the filter bar's segments.
    static const char16_t* const kPrices[3];

    // `category` may be null (its id is all the list keeps); empty search texts and -1 for
    // `count` and `listPage` are not sent. `topMode`: the server filters and sorts.
    AppsScene(std::u16string title, std::u16string crumb, const Category* category,
              std::u16string query, std::u16string searchIn, std::u16string tags, int32_t count,
              int32_t listPage, bool topMode);

    void Build(GObjectPtr& page) override;
    void OnSegmentChanged(GObjectPtr& bar, int index) override;
    bool NeedsRebuild(int reason) override;

    // A price filter ("", "paid", "free") or sort key chosen by the user; kept for later lists.
    void ChangePrice(const std::u16string& price);
    void ChangeSort(const std::u16string& key);

    const std::u16string& Title() const { return title; }
    bool TopMode() const { return topMode; }
    const std::u16string& ShownSort() const { return shownSort; }
    const std::u16string& ShownPrice() const { return shownPrice; }
    const AppList& AllApps() const { return allApps; }
    const AppList& ShownApps() const { return shownApps; }
    // The rows' container (null before Build).
    const GObjectPtr& Content() const { return content; }
    // The filters the next "getapps" carries.
    api::GetAppsOptions RequestOptions() const;
    // Reads a "getapps" answer and shows its applications (or the message of its code).
    void TakeAnswer(const uint8_t* body, int32_t size);

  protected:
    // Starts the "getapps" request (a list that is not on the network returns null).
    virtual shared_ptr<HttpRequest> SendGetApps(const std::u16string& url);

  private:
    void AddFilterBar(const GObjectPtr& page);
    void SendRequest();
    void GetAppsDone(HttpRequest* request, bool ok);
    void ApplyFilterAndSort();
    void BuildRows();
    void ClearRows();
    void RelabelSort();
    void OpenDetails(const shared_ptr<zentri::App>& app);

    std::u16string title, crumb;
    int32_t categoryId = -1;
    std::u16string query, searchIn, tags;
    int32_t count, listPage;
    std::u16string requestPrice, requestSort;
    std::u16string shownPrice, shownSort;
    bool topMode;
    AppList allApps;    // the last answer, in server order
    AppList shownApps;  // after the price filter and the sort
    GObjectPtr content;
    GObjectPtr filterBar;
    shared_ptr<SceneButton> sortButton;
    shared_ptr<HttpRequest> getappsRequest;
};

}  // namespace zentri
