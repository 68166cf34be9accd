// Selection shown by image: the node's focusable flag is its selection.

#include "widgets/push_select_button.h"
#include "tests/widgets/widget_support.h"
#include "widgets/hot_button.h"
#include "widgets/image.h"
#include "widgets/transparable.h"

namespace zentri::test {
namespace {

using Segment = TPushSelectButton<TImage<THotButton<TTransparableI<GObject>>>>;

TEST_F(Screen, PushSelectButtonShowsItsSelection) {
    auto button = Add<Segment>({0, 0, 40, 20});
    button->AddImage(0, SolidImage(40, 20, Color{255, 0, 0}));
    button->AddImage(1, SolidImage(40, 20, Color{0, 0, 255}));
    button->SetFocusable(true);
    EXPECT_TRUE(button->Selected());
    EXPECT_EQ(button->CurrentState(), 0);
    EXPECT_EQ(Render()->Pixel(1, 1), To565(Color{255, 0, 0}));
    button->SetFocusable(false);
    EXPECT_EQ(button->CurrentState(), 1);
    EXPECT_EQ(Render()->Pixel(1, 1), To565(Color{0, 0, 255}));
}

}  // namespace
}  // namespace zentri::test
