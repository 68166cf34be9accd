#pragma once
// The star rating: five stars showing a rating in half stars (0 to 10). An editable rating is
// set by tapping a star, which fills the stars up to and including the tapped one; half stars
// are only shown, never set by touch.
//
// The stars call back into this object: it must outlive the container's place in the tree,
// or be destroyed first (it then takes its handlers off the stars).

#include <cstdint>

#include "ui/gobject.h"

namespace zentri {

struct Touch;

class StarRating {
  public:
    static constexpr int kStars = 5;
    static constexpr int kMaxRating = 2 * kStars;
    // The image states of a star.
    enum Frame { kFull = 0, kHalf = 1, kBlank = 2 };

    StarRating() = default;
    ~StarRating();
    StarRating(const StarRating&) = delete;
    StarRating& operator=(const StarRating&) = delete;

    // The container with the five stars, for the caller to add to a scene.
    GObjectPtr Create(int32_t rating, bool readOnly);
    // Values outside 0..10 are taken as the nearest end.
    void SetRating(int32_t halfStars);
    int32_t Rating() const { return rating; }
    const GObjectPtr& Container() const { return container; }

  private:
    void StarTouched(GObjectPtr& star, const Touch& touch);
    void Unsubscribe();

    GObjectPtr container;
    int32_t rating = 0;
};

}  // namespace zentri
