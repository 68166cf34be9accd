// Images: placement by alignment and padding, states, stretching, the progress bar's cut and
// images that are missing.

#include "widgets/image.h"
#include "tests/widgets/widget_support.h"

namespace zentri::test {
namespace {

using Image = TImage<GObject>;
constexpr Color kRed{255, 0, 0};

TEST_F(Screen, ImageIsPlacedInItsBoxByTheAlignments) {
    auto node = Add<Image>({10, 10, 25, 20});
    node->AddImage(0, SolidImage(20, 10, kRed));
    node->ShowImage(0);
    EXPECT_EQ(InkBox(*Render()), (Rect{10, 10, 20, 10}));
    node->SetImageAlign(HAlign::Center, VAlign::Center);
    EXPECT_EQ(InkBox(*Render()), (Rect{12, 15, 20, 10}));  // (25 - 20) / 2 = 2
    node->SetImagePadding(1, 2, 3, 4);                     // box (1, 2, 21, 14)
    node->SetImageAlign(HAlign::Right, VAlign::Bottom);
    EXPECT_EQ(InkBox(*Render()), (Rect{12, 16, 20, 10}));
    node->SetSize(45, 30);  // the box follows the size
    EXPECT_EQ(InkBox(*Render()), (Rect{32, 26, 20, 10}));
}

TEST_F(Screen, ImageStatesSwitchAndMissingStatesOrFilesChangeNothing) {
    auto node = Add<Image>({0, 0, 5, 5});
    node->AddImage(1, SolidImage(8, 6, kRed));
    node->AddImage(2, shared_ptr<Surface>());  // ignored
    node->AddImage(3, std::u16string(u"no such image.png"));
    node->ShowImage(1, true);
    EXPECT_EQ(node->Bounds(), (Rect{0, 0, 8, 6}));
    node->ShowImage(2, true);
    node->ShowImage(7, true);
    EXPECT_EQ(node->CurrentState(), 1);
    node->ShowImage(3, true);  // an empty image neither resizes nor draws
    EXPECT_EQ(node->Bounds(), (Rect{0, 0, 8, 6}));
    EXPECT_EQ(InkBox(*Render()), Rect{});
}

TEST_F(Screen, ImageStretchesToItsBoxAndFollowsResizes) {
    auto node = Add<Image>({4, 4, 30, 20});
    node->SetStretch(true);
    node->AddImage(0, SolidImage(8, 8, kRed));
    node->ShowImage(0, true);  // stretching never resizes the node
    EXPECT_EQ(InkBox(*Render()), (Rect{4, 4, 30, 20}));
    node->SetImagePadding(2, 2, 2, 2);
    node->SetSize(50, 12);
    EXPECT_EQ(InkBox(*Render()), (Rect{6, 6, 46, 8}));
}

TEST_F(Screen, ProgressBarDrawsTheDoneFractionFromTheLeft) {
    auto node = Add<Image>({0, 0, 40, 4});
    node->AddImage(0, SolidImage(40, 4, kRed));
    node->ShowImage(0);
    node->SetProgress(0.25);
    EXPECT_EQ(InkBox(*Render()), (Rect{0, 0, 10, 4}));
    node->SetProgress(0.99);
    EXPECT_EQ(InkBox(*Render()).w, 39);  // truncated
    node->SetProgress(0);
    EXPECT_EQ(InkBox(*Render()), Rect{});
    node->SetProgress(0.5, 0);  // no maximum: the whole image
    EXPECT_EQ(InkBox(*Render()).w, 40);
}

TEST_F(Screen, ImageIsDrawnAtTheNodesTransparency) {
    auto node = Add<Image>({0, 0, 4, 4});
    node->AddImage(0, SolidImage(4, 4, Color{0, 0, 0}));
    node->ShowImage(0);
    node->SetTransparency(128);
    // White blended halfway towards black: 31 - 16, 63 - 32, 31 - 16 (the shift rounds down).
    EXPECT_EQ(Render()->Pixel(1, 1), (15 << 11) | (31 << 5) | 15);
}

}  // namespace
}  // namespace zentri::test
