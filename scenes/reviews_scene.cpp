#include "scenes/reviews_scene.h"

#include "app/kestro.h"
#include "app/kestro_app.h"
#include "net/api_requests.h"
#include "net/http_request.h"
#include "net/xml_response.h"
#include "scenes/make_review_scene.h"
#include "scenes/review_text.h"
#include "scenes/reviews_layout.h"
#include "ui/font_manager.h"
#include "widgets/rect_drawer.h"
#include "widgets/star_rating.h"

namespace zentri {

ReviewsScene::ReviewsScene(std::u16string appName, int32_t appId)
    : appName(std::move(appName)), appId(appId) {}

Color ReviewsScene::Background(size_t index) {
    return index % 2 == 0 ? Color{220, 220, 255} : Color{240, 240, 240};
}

bool ReviewsScene::NeedsRebuild(int reason) {
    (void)reason;
    return true;
}

void ReviewsScene::Build(GObjectPtr& page) {
    reviews.clear();
    content = CreateContent(page);
    content->SetLayout(shared_ptr<Layout>(new ReviewsLayout(U())));
    AddHeader(page, Str(8005), true, appName);
    App().SetBusy(false);
    reviewsRequest = api::Send(api::ReviewsUrl(Kestro::Instance().GetSessionId(), appId));
    if (!reviewsRequest) {
        App().SetBusy(true);
        return;
    }
    reviewsRequest->Completion().Add(this, &ReviewsScene::ReviewsDone);
    Track(reviewsRequest);
}

void ReviewsScene::Activate(GObjectPtr& page) {
    (void)page;
    App().SetSoftKeys(Str(4), Str(8006));
}

void ReviewsScene::OnRightSoftKey() {
    App().PushNew<MakeReviewScene>(appName, appId);
}

void ReviewsScene::ReviewsDone(HttpRequest* request, bool ok) {
    if (request != reviewsRequest.get()) return;  // an answer for a page built before
    App().SetBusy(true);
    if (!ok) {
        ShowMessage(kResultUnreadable);
        return;
    }
    reviews.clear();
    const int32_t code = XMLResponse_Reviews(reviews).Parse(request->Body(), request->Size());
    if (ShowMessageIfError(code) != kResultOk) return;
    for (size_t i = 0; i < reviews.size(); ++i)
        AddReview(reviews[i], i);
}

void ReviewsScene::AddReview(const Review& review, size_t index) {
    using Box = TLabel<TRectDrawer<GObject>>;
    const int half = U() / 2, starHeight = 3 * U() / 2, starsWidth = 5 * starHeight;
    shared_ptr<Box> box(new Box);
    box->SetFillColor(Background(index));
    box->SetMultiLine(true);
    box->SetFormat(TextFormat::Top);
    box->SetTextPadding(half, half, half, half);
    box->SetText(ReviewTextForShowing(review.txt));
    box->SetTextColor(Color{0, 0, 0});
    box->SetTouchable(false);

    auto login = AddLabel(box, review.login, false);
    login->SetFont(600, 5 * U() / 4);
    login->SetId(ReviewLayout::kLogin);
    StarRating stars;  // read-only: no handler stays on this object
    GObjectPtr shown = stars.Create(review.rate * 2, true);
    shown->SetTouchable(false);
    box->AddChild(shown, ReviewLayout::kStars);
    box->SetLayout(shared_ptr<Layout>(new ReviewLayout(starsWidth, starHeight, U())));
    content->AddChild(box);
}

}  // namespace zentri
