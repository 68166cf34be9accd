// Links: the text colour follows the finger.

#include "widgets/hot_label.h"
#include "tests/widgets/widget_support.h"
#include "widgets/label.h"

namespace zentri::test {
namespace {

TEST_F(Screen, HotLabelShowsThePressedColourWhilePressed) {
    auto link = Add<THotLabel<TLabel<GObject>>>({0, 0, 50, 20});
    link->OnTouch().Add([](GObjectPtr&, const zentri::Touch&) {});  // as a scene does
    link->SetNormalColor(Color{0, 0, 255});
    link->SetPressedColor(Color{255, 0, 0});
    EXPECT_EQ(link->TextColor(), (Color{0, 0, 255}));
    Send(Touch::kDown, 5, 5);
    EXPECT_EQ(link->TextColor(), (Color{255, 0, 0}));
    server.Tick(false, true);  // painted: nothing dirty
    Send(Touch::kUp, 5, 5);
    EXPECT_EQ(link->TextColor(), (Color{0, 0, 255}));
    EXPECT_EQ(server.Dirty(), (Rect{0, 0, 50, 20}));  // the colour change repaints the link
}

}  // namespace
}  // namespace zentri::test
