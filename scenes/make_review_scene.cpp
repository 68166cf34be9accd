#include "scenes/make_review_scene.h"

#include "app/kestro.h"
#include "app/kestro_app.h"
#include "net/api_requests.h"
#include "net/http_request.h"
#include "net/xml_response.h"
#include "scenes/review_text.h"
#include "widgets/single_layout.h"

namespace zentri {

MakeReviewScene::MakeReviewScene(std::u16string appName, int32_t appId)
    : appName(std::move(appName)), appId(appId) {}

void MakeReviewScene::Build(GObjectPtr& page) {
    GObjectPtr content = CreateContent(page);
    AddHeader(page, Str(10000), true, appName);
    std::vector<TableLayout::Cell> cells;
    AddLabel(content, Str(10001), false);
    cells.push_back({0, 0, 0.95, 1});

    GObjectPtr holder = MakeShared<GObject>();
    GObjectPtr shown = stars.Create(stars.Rating(), false);
    shown->SetSize(10 * U(), 2 * U());
    holder->AddChild(shown);
    holder->SetLayout(
        shared_ptr<Layout>(new SingleLayout(SingleLayout::kStart, SingleLayout::kCentre, false)));
    content->AddChild(holder);
    cells.push_back({1, 0, 0.95, 1});

    AddLabel(content, Str(10002), false);
    cells.push_back({2, 0, 0.95, 1});
    // Rows 3 to 5 lie under the comment entry.
    AddLabel(content, u"", false);
    cells.push_back({3, 0, 0.95, 3});
    auto note = AddText(content, Str(10004));
    note->SetTextColor(Color{120, 120, 120});
    cells.push_back({6, 0, 0.95, 3});
    FinishTable(content, cells);
}

void MakeReviewScene::Activate(GObjectPtr& page) {
    (void)page;
    App().SetSoftKeys(Str(4), Str(10003));
}

void MakeReviewScene::OnShown() {
    const GObjectPtr& page = Page();
    if (!page || editWindow) return;
    editWindow = shared_ptr<ReviewEditBox>(new ReviewEditBox);
    editWindow->SetTextPadding(U() / 4, U() / 4, U() / 4, U() / 4);
    editWindow->SetRect(Rect{U() / 2, 10 * U(), page->Width() - U(), 7 * U()});
    page->AddChild(editWindow);
}

void MakeReviewScene::OnLeave() {
    if (!editWindow) return;
    if (GObject* parent = editWindow->Parent()) parent->RemoveChild(editWindow.get());
    editWindow = nullptr;
}

void MakeReviewScene::OnPopupClosed() {
    ShowEditWindow(true);
}

void MakeReviewScene::ShowEditWindow(bool shown) {
    if (editWindow) editWindow->SetVisible(shown);
}

void MakeReviewScene::OnRightSoftKey() {
    const int32_t rate = WholeStars(stars.Rating());
    if (rate == 0) {
        ShowEditWindow(false);
        ShowMessage(10005);
        return;
    }
    const std::u16string text =
        editWindow ? ReviewTextForSending(editWindow->Text()) : std::u16string();
    App().SetBusy(false);
    rateRequest = api::Send(api::RateUrl(Kestro::Instance().GetSessionId(), appId, rate, text));
    if (!rateRequest) {
        App().SetBusy(true);
        return;
    }
    rateRequest->Completion().Add(this, &MakeReviewScene::RateDone);
    Track(rateRequest);
}

void MakeReviewScene::RateDone(HttpRequest* request, bool ok) {
    ShowEditWindow(false);
    App().SetBusy(true);
    if (!ok) {
        ShowMessage(kResultUnreadable);
        return;
    }
    const int32_t code = XMLResponse_Rate().Parse(request->Body(), request->Size());
    if (ShowMessageIfError(code) != kResultOk) return;
    auto answer = App().ShowPopup(Str(8), Str(10006), Str(0), u"");
    App().RebuildCatalogueScenes(KestroApp::kRebuildAfterReview);
    if (!answer) {
        App().GoBack();
        return;
    }
    answer->Add([this](PopupBox::PopupBoxResult) { App().GoBack(); });
}

}  // namespace zentri
