// The spinner: images in turn, each for its frames, endlessly, until stopped.

#include "widgets/animated_image.h"
#include "tests/widgets/widget_support.h"
#include "widgets/image.h"

namespace zentri::test {
namespace {

using Spinner = TAnimatedImage<TImage<GObject>>;

TEST_F(Screen, AnimatedImageShowsEachImageForItsFramesAndLoops) {
    auto spinner = Add<Spinner>({0, 0, 8, 8});
    for (int i = 0; i < 3; ++i)
        spinner->AddImage(i, SolidImage(8, 8, Color{static_cast<uint8_t>(i * 100), 0, 0}));
    spinner->SetFramesPerImage(2);
    spinner->SetVisible(false);
    spinner->Start();
    EXPECT_TRUE(spinner->IsVisible());
    std::vector<int> shown{spinner->CurrentState()};
    for (int i = 0; i < 13; ++i) {
        server.Frame();
        shown.push_back(spinner->CurrentState());
    }
    EXPECT_EQ(shown, (std::vector<int>{0, 0, 1, 1, 2, 2, 0, 0, 1, 1, 2, 2, 0, 0}));
    EXPECT_TRUE(spinner->Running());

    spinner->Stop();
    server.Frame();
    EXPECT_FALSE(server.HasAnimators());
    EXPECT_EQ(spinner->CurrentState(), 0);
    spinner->Start();  // runs again after a stop
    server.Frames(2);
    EXPECT_EQ(spinner->CurrentState(), 1);
    spinner->Start();  // a restart replaces the running loop
    server.Frames(2);
    EXPECT_EQ(spinner->CurrentState(), 1);
    EXPECT_EQ(server.AnimatorCount(), 1u);
}

TEST_F(Screen, AnimatedImageWithOneImageDoesNotAnimate) {
    auto spinner = Add<Spinner>({0, 0, 8, 8});
    spinner->AddImage(0, SolidImage(8, 8, Color{}));
    spinner->Start();
    EXPECT_FALSE(server.HasAnimators());
    EXPECT_EQ(spinner->CurrentState(), 0);
}

}  // namespace
}  // namespace zentri::test
