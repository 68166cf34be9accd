// Labels: the text colour faded by transparency, paddings and alignment, the single-line cut
// and word breaking, and the text that automation reads.

#include "widgets/label.h"
#include "tests/widgets/widget_support.h"
#include "widgets/image.h"

namespace zentri::test {
namespace {

using Label = TLabel<GObject>;

TEST_F(Screen, LabelTextIsDrawnInTheColourFadedTowardsWhite) {
    EXPECT_EQ(FadeTowardsWhite(Color{200, 100, 255}, 0), (Color{255, 255, 255}));
    auto label = Add<Label>({0, 0, 200, 40});
    label->SetFont(600, 32);
    label->SetText(u"HIM");
    auto darkest = [&] {
        shared_ptr<WMSurface> s = Render();
        return *std::min_element(s->pixels.begin(), s->pixels.end());
    };
    EXPECT_EQ(darkest(), 0x0000);  // full coverage in black
    label->SetTransparency(128);
    EXPECT_EQ(darkest(), To565(Color{127, 127, 127}));
}

TEST_F(Screen, LabelDrawsInsideItsPaddingsCutToOneLineOrBrokenAtWords) {
    auto label = Add<Label>({10, 10, 200, 100});
    label->SetFont(400, 16);
    label->SetText(u"Several words that do not fit on one line");
    label->SetTextPadding(30, 5, 50, 0);
    label->SetFormat(TextFormat::SingleLine);
    Rect one = InkBox(*Render());
    EXPECT_GE(one.x, 40);
    EXPECT_GE(one.y, 15);
    EXPECT_LE(one.x + one.w, 160);
    EXPECT_LT(one.h, 17);
    label->SetFormat(TextFormat::Right);
    label->SetMultiLine(true);
    Rect many = InkBox(*Render());
    EXPECT_GT(many.h, 40);  // three lines or more
    EXPECT_LE(many.x + many.w, 160);
    EXPECT_GT(many.x + many.w, 155);
}

TEST_F(Screen, LabelMeasuresItsTextOnceAndTellsAutomationWhatItShows) {
    auto label = Add<TLabel<TImage<GObject>>>({0, 0, 100, 20});
    EXPECT_TRUE(label->AutomationText().empty());
    EXPECT_FALSE(label->IsEditBox());
    label->SetText(u"ab");
    int two = label->TextWidth();
    label->SetText(u"abab");
    EXPECT_EQ(label->TextWidth(), 2 * two);
    GObject& node = *label;
    EXPECT_EQ(node.AutomationText(), u"abab");
}

}  // namespace
}  // namespace zentri::test
