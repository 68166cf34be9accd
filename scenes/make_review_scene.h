#pragma once
// Rating an application: stars (required) and a comment (optional). The comment is typed into
// a multi-line entry laid over the page once the page has slid in; line breaks travel as
// "--br--". An accepted review rebuilds the pages that show the application.

#include <string>

#include "scenes/review_edit_box.h"
#include "scenes/scene.h"
#include "widgets/star_rating.h"

namespace zentri {

class MakeReviewScene : public Scene {
  public:
    MakeReviewScene(std::u16string appName, int32_t appId);

    void Build(GObjectPtr& page) override;
    void Activate(GObjectPtr& page) override;
    void OnShown() override;
    void OnLeave() override;
    void OnPopupClosed() override;
    void OnRightSoftKey() override;

    // The parts the user fills (null editWindow until the page has been shown).
    StarRating& Stars() { return stars; }
    const shared_ptr<ReviewEditBox>& EditWindow() const { return editWindow; }

  private:
    void RateDone(HttpRequest* request, bool ok);
    void ShowEditWindow(bool shown);

    std::u16string appName;
    int32_t appId = 0;
    StarRating stars;
    shared_ptr<ReviewEditBox> editWindow;
    shared_ptr<HttpRequest> rateRequest;
};

}  // namespace zentri
