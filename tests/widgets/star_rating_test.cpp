// The star rating: frames for a rating in half stars, setting it by a tap, its picture.

#include "widgets/star_rating.h"

#include <gtest/gtest.h>

#include <memory>

#include "tests/ui/test_nodes.h"
#include "tests/widgets/widget_art.h"
#include "widgets/image.h"

namespace zentri::test {
namespace {

std::vector<int> Frames(const GObject& container) {
    std::vector<int> frames;
    for (size_t i = 0; i < container.ChildCount(); ++i)
        frames.push_back(dynamic_cast<TImage<GObject>&>(*container.ChildAt(i)).CurrentState());
    return frames;
}

class StarRatingTest : public ::testing::Test {
  protected:
    void SetUp() override {
        InstallWidgetArt(device);
        server->Resize(240, 100);
        server->SetRoot(root);
    }
    // The rating's stars on screen at (0, 0), 103 x 20: each star 20 wide.
    GObjectPtr Place(StarRating& rating, int value, bool readOnly) {
        GObjectPtr stars = rating.Create(value, readOnly);
        root->AddChild(stars);
        stars->SetRect(Rect{0, 0, 103, 20});
        return stars;
    }
    void Tap(int x, int y) {
        server->DispatchTouch(Touch::kDown, x, y);
        server->DispatchTouch(Touch::kUp, x, y);
    }

    TempDevice device;
    shared_ptr<TestServer> server = MakeShared<TestServer>();
    GObjectPtr root = MakeShared<GObject>();
};

TEST_F(StarRatingTest, FramesShowFullHalfAndBlankStars) {
    StarRating rating;
    GObjectPtr stars = rating.Create(7, true);
    ASSERT_EQ(stars->ChildCount(), 5u);
    constexpr int F = StarRating::kFull, H = StarRating::kHalf, B = StarRating::kBlank;
    EXPECT_EQ(Frames(*stars), (std::vector<int>{F, F, F, H, B}));
    rating.SetRating(0);
    EXPECT_EQ(Frames(*stars), (std::vector<int>{B, B, B, B, B}));
    rating.SetRating(1);
    EXPECT_EQ(Frames(*stars), (std::vector<int>{H, B, B, B, B}));
    rating.SetRating(10);
    EXPECT_EQ(Frames(*stars), (std::vector<int>{F, F, F, F, F}));
    // Out of range: the nearest end, never a half star from a negative count.
    rating.SetRating(-1);
    EXPECT_EQ(rating.Rating(), 0);
    EXPECT_EQ(Frames(*stars), (std::vector<int>{B, B, B, B, B}));
    rating.SetRating(13);
    EXPECT_EQ(rating.Rating(), 10);
}

TEST_F(StarRatingTest, ATapFillsTheStarsUpToTheTappedOne) {
    StarRating rating;
    GObjectPtr stars = Place(rating, 3, false);
    EXPECT_EQ(stars->ChildAt(2)->Bounds(), (Rect{40, 0, 20, 20}));
    EXPECT_EQ(stars->ChildAt(4)->Bounds(), (Rect{80, 0, 20, 20}));
    Tap(50, 10);
    EXPECT_EQ(rating.Rating(), 6);
    constexpr int F = StarRating::kFull, B = StarRating::kBlank;
    EXPECT_EQ(Frames(*stars), (std::vector<int>{F, F, F, B, B}));
    Tap(5, 10);
    EXPECT_EQ(rating.Rating(), 2);
    Tap(101, 10);  // the rest of the width belongs to no star
    EXPECT_EQ(rating.Rating(), 2);

    StarRating readOnly;
    Place(readOnly, 5, true)->SetPosition(0, 40);
    Tap(90, 50);
    EXPECT_EQ(readOnly.Rating(), 5);
}

TEST_F(StarRatingTest, StarsOutlivingTheirRatingNoLongerCallIt) {
    auto rating = std::make_unique<StarRating>();
    GObjectPtr stars = Place(*rating, 4, false);
    EXPECT_EQ(stars->ChildAt(0)->OnTouch().Count(), 1u);
    rating.reset();
    for (size_t i = 0; i < stars->ChildCount(); ++i)
        EXPECT_EQ(stars->ChildAt(i)->OnTouch().Count(), 0u);
    Tap(50, 10);  // reaches no handler
}

TEST_F(StarRatingTest, TheStarsMatchTheReference) {
    WMSurface picture;
    picture.Create(200, 160, false);
    picture.FillRaw(Rect{0, 0, 200, 160}, To565(RGB(0x30343C)));
    StarRating rating;
    GObjectPtr stars = rating.Create(0, true);
    stars->SetSize(200, 40);
    for (int value : {0, 1, 7, 10}) {
        rating.SetRating(value);
        stars->DrawTree(picture);
        stars->SetPosition(0, stars->Y() + 40);
    }
    ExpectMatchesReference(picture, "stars");
}

}  // namespace
}  // namespace zentri::test
