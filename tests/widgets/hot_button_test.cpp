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
    EXPECT_EQ(button->Transparency(), 175);
    Send(Touch::kUp, 50, 50);  // released outside: no click, but the fade back
    EXPECT_FALSE(button->IsPressed());
    EXPECT_EQ(Trace(9, [&] { return button->Transparency(); }),
              (std::vector<int>{175, 178, 187, 200, 215, 229, 242, 251, 255, 255}));
}

TEST_F(Screen, HotButtonKeepsTheFirstRestTransparencyAndStopsItsFadeWhenPressedAgain) {
    auto button = Add<HotButton>({0, 0, 20, 20});
    button->SetTransparency(200);
    Tap(5, 5);
    server.Frames(2);  // fading back towards 255
    Send(Touch::kDown, 5, 5);
    EXPECT_EQ(button->RestTransparency(), 200);
    server.Frames(3);
    EXPECT_EQ(button->Transparency(), 120);  // the old fade does not undo the dimming
    Send(Touch::kUp, 5, 5);
    button->SetPressDim(300);
    Send(Touch::kDown, 5, 5);
    EXPECT_EQ(button->Transparency(), 0);  // never below 0
}

}  // namespace
}  // namespace zentri::test
