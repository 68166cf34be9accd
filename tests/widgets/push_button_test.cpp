// Press feedback by image.

#include "widgets/push_button.h"
#include "tests/widgets/widget_support.h"
#include "widgets/image.h"
#include "widgets/label.h"

namespace zentri::test {
namespace {

TEST_F(Screen, PushButtonShowsThePushedImageWhilePressedAndKeepsItsSize) {
    auto button = Add<TPushButton<TLabel<TImage<GObject>>>>({0, 0, 40, 20});
    button->OnTouch().Add([](GObjectPtr&, const zentri::Touch&) {});
    button->AddImage(0, SolidImage(10, 10, Color{255, 0, 0}));
    button->AddImage(1, SolidImage(30, 30, Color{0, 0, 255}));
    button->ShowImage(1);
    Send(Touch::kDown, 5, 5);
    EXPECT_EQ(button->CurrentState(), 0);
    Send(Touch::kUp, 5, 5);
    EXPECT_EQ(button->CurrentState(), 1);
    EXPECT_EQ(button->Bounds(), (Rect{0, 0, 40, 20}));
}

}  // namespace
}  // namespace zentri::test
