// Review texts on the way to the service and back, and ratings between stars and half stars.

#include "scenes/review_text.h"

#include <gtest/gtest.h>

#include "scenes/reviews_scene.h"

namespace zentri {
namespace {

TEST(ReviewText, LineBreaksTravelAsMarksAndComeBack) {
    EXPECT_EQ(ReviewTextForSending(u"Good\nfast\r\nsmall\rend"),
              u"Good--br--fast--br--small--br--end");
    EXPECT_EQ(ReviewTextForSending(u"\n\n"), u"--br----br--");
    EXPECT_EQ(ReviewTextForSending(u"no breaks"), u"no breaks");
    EXPECT_EQ(ReviewTextForShowing(u"Best one.--br--Highly recommended.--br--"),
              u"Best one.\nHighly recommended.\n");
    // A mark split by the replacement is not formed again.
    EXPECT_EQ(ReviewTextForShowing(u"---br--br--"), u"-\nbr--");
    EXPECT_EQ(ReviewTextForShowing(ReviewTextForSending(u"a\nb")), u"a\nb");
}

TEST(ReviewText, OnlyWholeStarsAreSent) {
    EXPECT_EQ(WholeStars(0), 0);
    EXPECT_EQ(WholeStars(1), 0);  // half a star is no rating
    EXPECT_EQ(WholeStars(7), 3);
    EXPECT_EQ(WholeStars(10), 5);
}

TEST(ReviewText, BoxesAlternateStartingWithBlue) {
    EXPECT_EQ(ReviewsScene::Background(0), (Color{220, 220, 255}));
    EXPECT_EQ(ReviewsScene::Background(1), (Color{240, 240, 240}));
    EXPECT_EQ(ReviewsScene::Background(2), (Color{220, 220, 255}));
}

}  // namespace
}  // namespace zentri
