// A selectable button with a caption: the caption's colour follows the selection.

#include "widgets/push_label.h"
#include "tests/widgets/widget_support.h"
#include "widgets/hot_button.h"
#include "widgets/image.h"
#include "widgets/label.h"
#include "widgets/push_select_button.h"
#include "widgets/transparable.h"

namespace zentri::test {
namespace {

using Segment = TPushLabel<TLabel<TPushSelectButton<TImage<THotButton<TTransparableI<GObject>>>>>>;

TEST_F(Screen, PushLabelSwitchesImageAndCaptionColour) {
    auto segment = Add<Segment>({0, 0, 60, 20});
    segment->AddImage(0, SolidImage(60, 20, Color{0, 0, 128}));
    segment->AddImage(1, SolidImage(60, 20, Color{220, 220, 220}));
    segment->SetSelectedColor(Color{255, 255, 255});
    segment->SetUnselectedColor(Color{64, 64, 64});
    EXPECT_EQ(segment->TextColor(), (Color{64, 64, 64}));
    segment->SetFocusable(true);
    EXPECT_EQ(segment->TextColor(), (Color{255, 255, 255}));
    EXPECT_EQ(segment->CurrentState(), 0);
    segment->SetFocusable(false);
    EXPECT_EQ(segment->TextColor(), (Color{64, 64, 64}));
    EXPECT_EQ(segment->CurrentState(), 1);
}

}  // namespace
}  // namespace zentri::test
