// Press feedback by transparency: dim at once, fade back eased, rest value kept from the first
// press.

#include "widgets/hot_button.h"
#include "tests/widgets/widget_support.h"
#include "widgets/transparable.h"

namespace zentri::test {
namespace {

using HotButton = THotButton<TTransparableI<GObject>>;

TEST_F(Screen, HotButtonDimsWhilePressedAndFadesBackFrameByFrame) {
    auto button = Add<HotButton>({0, 0, 20, 20});  // nobody subscribes: still a touch target
    Send(Touch::kDown, 5, 5);
    EXPECT_TRUE(button->IsPressed());
    EXPECT_EQ(button->Transparency(), 175);
    Send(Touch::kUp, 5, 5);
    std::vector<int> seen{button->Transparency()};
    while (server.HasAnimators()) {
        server.Frame();
        seen.push_back(button->Transparency());
    }
    EXPECT_EQ(seen, (std::vector<int>{175, 178, 187, 200, 215, 229, 242, 251, 255, 255}));
}

TEST_F(Screen, HotButtonKeepsTheFirstRestTransparencyAndStopsItsFadeWhenPressedAgain) {
    auto button = Add<HotButton>({0, 0, 20, 20});
    button->SetTransparency(200);
    Tap(5, 5);
    EXPECT_EQ(button->RestTransparency(), 200);
    server.Frames(2);  // fading back towards 255
    Send(Touch::kDown, 5, 5);
    EXPECT_EQ(button->RestTransparency(), 200);
    EXPECT_EQ(button->Transparency(), 120);
    server.Frames(3);
    EXPECT_EQ(button->Transparency(), 120);  // the old fade does not undo the dimming
    Send(Touch::kUp, 5, 5);
}

TEST_F(Screen, HotButtonReleasedOutsideIsNotClicked) {
    auto button = Add<HotButton>({0, 0, 20, 20});
    button->SetPressDim(300);  // dims to 0 at most
    int clicks = 0;
    button->OnTouch().Add([&](GObjectPtr&, const zentri::Touch& t) { clicks += t.type == 5; });
    Send(Touch::kDown, 5, 5);
    EXPECT_EQ(button->Transparency(), 0);
    Send(Touch::kUp, 100, 100);
    EXPECT_FALSE(button->IsPressed());
    EXPECT_EQ(clicks, 0);
    Tap(5, 5);
    EXPECT_EQ(clicks, 1);
}

}  // namespace
}  // namespace zentri::test
