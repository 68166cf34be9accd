// Labels: the text colour faded by transparency, the text rectangle, line breaking and the text
// that automation reads.

#include "widgets/label.h"
#include "tests/widgets/widget_support.h"
#include "widgets/image.h"

namespace zentri::test {
namespace {

using Label = TLabel<GObject>;

uint16_t Darkest(const Surface& s) {
    uint16_t darkest = 0xFFFF;
    for (uint16_t p : s.pixels)
        darkest = std::min(darkest, p);
    return darkest;
}

TEST(LabelColor, FadesTowardsWhiteWithTheTransparency) {
    EXPECT_EQ(FadeTowardsWhite(Color{0, 0, 0}, 128), (Color{127, 127, 127}));
    EXPECT_EQ(FadeTowardsWhite(Color{0, 0, 0}, 255), (Color{0, 0, 0}));
    EXPECT_EQ(FadeTowardsWhite(Color{200, 100, 255}, 0), (Color{255, 255, 255}));
}

TEST_F(Screen, LabelTextIsDrawnInTheFadedColour) {
    auto label = Add<Label>({0, 0, 200, 40});
    label->SetFont(600, 32);
    label->SetText(u"HIM");
    EXPECT_EQ(Darkest(*Render()), 0x0000);  // full coverage in black
    label->SetTransparency(128);
    EXPECT_EQ(Darkest(*Render()), To565(Color{127, 127, 127}));
}

TEST_F(Screen, LabelDrawsInsideItsPaddingsWithItsAlignment) {
    auto label = Add<Label>({10, 10, 200, 40});
    label->SetFont(600, 20);
    label->SetText(u"Zentri");
    label->SetTextPadding(30, 5, 0, 0);
    Rect left = InkBox(*Render());
    EXPECT_GE(left.x, 40);
    EXPECT_LT(left.x, 44);
    EXPECT_GE(left.y, 15);
    label->SetFormat(TextFormat::Right | TextFormat::SingleLine);
    Rect right = InkBox(*Render());
    EXPECT_LE(right.x + right.w, 210);
    EXPECT_GT(right.x + right.w, 205);
    EXPECT_EQ(right.w, left.w);
}

TEST_F(Screen, SingleLineLabelsEndInAnEllipsisAndMultiLineLabelsBreak) {
    auto label = Add<Label>({0, 0, 120, 100});
    label->SetFont(400, 16);
    label->SetText(u"Several words that do not fit on one line");
    label->SetFormat(TextFormat::SingleLine);
    Rect one = InkBox(*Render());
    EXPECT_LE(one.w, 120);
    EXPECT_LT(one.h, 17);
    label->SetFormat(0);
    label->SetMultiLine(true);
    Rect many = InkBox(*Render());
    EXPECT_GT(many.h, 40);  // three lines or more
    EXPECT_LE(many.x + many.w, 120);
}

TEST_F(Screen, LabelMeasuresItsTextOnceAndTellsAutomationWhatItShows) {
    auto label = Add<TLabel<TImage<GObject>>>({0, 0, 100, 20});
    EXPECT_TRUE(label->AutomationText().empty());
    EXPECT_FALSE(label->IsEditBox());
    label->SetText(u"ab");
    int two = label->TextWidth();
    label->SetText(u"abab");
    EXPECT_EQ(label->TextWidth(), 2 * two);
    EXPECT_EQ(label->AutomationText(), u"abab");
    GObject& node = *label;
    EXPECT_EQ(node.AutomationText(), u"abab");
}

}  // namespace
}  // namespace zentri::test
