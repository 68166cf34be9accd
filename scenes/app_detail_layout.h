#pragma once
// The details page of an application: the icon at the top left with the developer and the
// version beside it, the description below them, the action buttons in a column under the
// icon, then rating, the buttons to screenshots, reviews and rating, and the tag list, stacked
// down the page. The description is as tall as its text; the page's height follows.

#include "widgets/base_scrolled_object_layout.h"

namespace zentri {

class AppDetailLayout : public BaseScrolledObjectLayout {
  public:
    // Child ids of the page's parts.
    enum PartId {
        kVersionCaption = 16,
        kVersion = 17,
        kDeveloperCaption = 18,
        kIcon = 19,
        kDeveloper = 20,
        kFirstAction = 21,  // run or install
        kUninstall = 22,
        kDescription = 23,
        kTagsCaption = 24,
        kTags = 25,
        kRatingCaption = 26,
        kStars = 27,
        kVotes = 28,
        kReviews = 29,
        kScreenshots = 30,
        kRate = 31,
        kUpdate = 55,
        kDescriptionCaption = 56,
    };

    // The stars' size (a width of 0 when there are no votes) and the base unit.
    AppDetailLayout(int starsWidth, int starsHeight, int baseUnit);

    void ArrangeChildren(GObject* owner, int reason) override;

  private:
    int starsWidth;
    int starsHeight;
    int base;
};

}  // namespace zentri
