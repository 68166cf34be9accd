#include "scenes/apps_scene.h"

#include "scenes/app_details_scene.h"

#include "app/catalogue.h"
#include "app/kestro.h"
#include "app/kestro_app.h"
#include "net/http_request.h"
#include "net/xml_response_getapps.h"
#include "scenes/add_app_row.h"
#include "scenes/apps_scene_choose_sort.h"
#include "scenes/filter_bar_layout.h"
#include "widgets/list_layout.h"

namespace zentri {

const char16_t* const AppsScene::kPrices[3] = {u"", u"paid", u"free"};

namespace {

// Fills a row with its application the first time the row is drawn.
void FillWhenDrawn(const GObjectPtr& item, const shared_ptr<zentri::App>& app) {
    item->OnDraw().Add([app, filled = false](GObjectPtr& row, Surface&) mutable {
        if (filled) return;
        filled = true;
        AddAppRow(row, app, false);
    });
}

}  // namespace

AppsScene::AppsScene(std::u16string title, std::u16string crumb, const Category* category,
                     std::u16string query, std::u16string searchIn, std::u16string tags,
                     int32_t count, int32_t listPage, bool topMode)
    : title(std::move(title)),
      crumb(std::move(crumb)),
      categoryId(category ? category->id : -1),
      query(std::move(query)),
      searchIn(std::move(searchIn)),
      tags(std::move(tags)),
      count(count),
      listPage(listPage),
      topMode(topMode) {
    const Kestro& k = Kestro::Instance();
    requestPrice = shownPrice = k.GetPriceFilter();
    requestSort = shownSort = k.GetSortOrder();
    if (requestSort.empty()) requestSort = u"rates";
}

void AppsScene::Build(GObjectPtr& page) {
    if (topMode) {
        shownSort = requestSort;
        shownPrice = requestPrice;
    }
    allApps.clear();
    shownApps.clear();
    content = CreateContent(page);
    content->SetLayout(shared_ptr<Layout>(new ListLayout(6 * U(), 0)));
    AddHeader(page, title, true, crumb);
    AddFilterBar(page);
    SendRequest();
}

void AppsScene::AddFilterBar(const GObjectPtr& page) {
    shared_ptr<SceneImage> bar(new SceneImage);
    bar->SetStretch(true);
    bar->AddImage(0, u"ls.png");
    bar->ShowImage(0);
    const int selected = shownPrice == u"free" ? 2 : (shownPrice == u"paid" ? 1 : 0);
    AddSegmentBar(bar, {Str(12000), Str(12001), Str(12002)}, selected)
        ->SetId(FilterBarLayout::kSegmentsId);
    sortButton = AddButton(bar, u"");
    sortButton->SetId(FilterBarLayout::kSortButtonId);
    OnTap(sortButton, [this] { App().PushNew<AppsSceneChooseSort>(this); });
    RelabelSort();
    bar->SetLayout(shared_ptr<Layout>(new FilterBarLayout(U())));
    page->AddChild(bar, kSubHeaderId);
    filterBar = bar;
}

void AppsScene::RelabelSort() {
    if (sortButton) sortButton->SetText(Str(AppsSceneChooseSort::LabelOf(shownSort)));
}

api::GetAppsOptions AppsScene::RequestOptions() const {
    api::GetAppsOptions options;
    options.cat = categoryId;
    options.query = query;
    options.in = searchIn;
    options.tags = tags;
    options.count = count;
    options.page = listPage;
    options.price = requestPrice;
    options.sort = requestSort;
    return options;
}

void AppsScene::SendRequest() {
    filterBar->SetVisible(false);
    ClearRows();
    if (getappsRequest && getappsRequest->IsPending()) {
        // Only the newest question's answer is shown.
        getappsRequest->Completion().RemoveObject(this);
        getappsRequest->Cancel();
    }
    getappsRequest =
        SendGetApps(api::GetAppsUrl(Kestro::Instance().GetSessionId(), RequestOptions()));
    if (!getappsRequest) return;
    getappsRequest->Completion().Add(this, &AppsScene::GetAppsDone);
    Track(getappsRequest);
}

void AppsScene::GetAppsDone(HttpRequest* request, bool ok) {
    if (request != getappsRequest.get()) return;  // an answer the list no longer waits for
    if (!ok) {
        ShowMessage(kResultUnreadable);
        return;
    }
    TakeAnswer(request->Body(), request->Size());
}

shared_ptr<HttpRequest> AppsScene::SendGetApps(const std::u16string& url) {
    return api::Send(url);
}

void AppsScene::TakeAnswer(const uint8_t* body, int32_t size) {
    allApps.clear();
    const int32_t code =
        XMLResponse_GetApps(allApps).Parse(body, size > 0 ? static_cast<size_t>(size) : 0);
    shownApps = allApps;
    if (code != kResultOk) {
        ShowMessage(code);
        return;
    }
    if (topMode)
        BuildRows();
    else
        ApplyFilterAndSort();
}

void AppsScene::OnSegmentChanged(GObjectPtr& bar, int index) {
    (void)bar;
    if (index >= 0 && index < 3) ChangePrice(kPrices[index]);
}

void AppsScene::ChangePrice(const std::u16string& price) {
    Kestro::Instance().SetPriceFilter(price);
    if (topMode) {
        requestPrice = shownPrice = price;
        SendRequest();
        return;
    }
    if (price == shownPrice) return;
    shownPrice = price;
    if (!requestPrice.empty() && requestPrice != price) {
        // The answer was already cut down by the filter the list opened with: the wider list
        // has to come from the server. Everything is fetched once; the device filters after.
        requestPrice.clear();
        SendRequest();
        return;
    }
    ApplyFilterAndSort();
}

void AppsScene::ChangeSort(const std::u16string& key) {
    Kestro::Instance().SetSortOrder(key);
    if (topMode) {
        requestSort = shownSort = key;
        RelabelSort();
        SendRequest();
        return;
    }
    if (key == shownSort) return;
    shownSort = key;
    RelabelSort();
    ApplyFilterAndSort();
}

bool AppsScene::NeedsRebuild(int reason) {
    return reason == KestroApp::kRebuildAfterInstall ||
           reason == KestroApp::kRebuildAfterUninstall || reason == KestroApp::kRebuildAfterReview;
}

// Always from the answer as it came, so the same choice shows the same list whatever was
// chosen before.
void AppsScene::ApplyFilterAndSort() {
    shownApps = FilterByPrice(allApps, shownPrice);
    SortApps(shownApps, shownSort);
    BuildRows();
}

void AppsScene::ClearRows() {
    shared_ptr<Layout> layout = content->GetLayout();
    layout->Suspend();
    content->RemoveAllChildren();
    content->SetPosition(0, 0);
    layout->Resume();
}

void AppsScene::BuildRows() {
    filterBar->SetVisible(true);
    shared_ptr<Layout> layout = content->GetLayout();
    layout->Suspend();
    content->RemoveAllChildren();
    content->SetPosition(0, 0);
    for (const shared_ptr<zentri::App>& app : shownApps) {
        shared_ptr<SceneListItem> item = AddListItem(content);
        OnTap(item, [this, app] { OpenDetails(app); });
        FillWhenDrawn(item, app);
    }
    layout->Resume();
}

void AppsScene::OpenDetails(const shared_ptr<zentri::App>& app) {
    App().PushNew<AppDetailsScene>(app, title);
}

}  // namespace zentri
