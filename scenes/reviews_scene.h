#pragma once
// The reviews of one application, newest first, each in a box of its own with the writer's
// name and stars; the right soft key leads to writing one.

#include <string>
#include <vector>

#include "net/xml_response_reviews.h"
#include "scenes/scene.h"

namespace zentri {

class ReviewsScene : public Scene {
  public:
    ReviewsScene(std::u16string appName, int32_t appId);

    void Build(GObjectPtr& page) override;
    void Activate(GObjectPtr& page) override;
    void OnRightSoftKey() override;
    bool NeedsRebuild(int reason) override;

    // The background of the review at `index`: the boxes alternate, starting with the blue one.
    static Color Background(size_t index);

  private:
    void ReviewsDone(HttpRequest* request, bool ok);
    void AddReview(const Review& review, size_t index);

    std::u16string appName;
    int32_t appId = 0;
    std::vector<Review> reviews;
    GObjectPtr content;
    shared_ptr<HttpRequest> reviewsRequest;
};

}  // namespace zentri
