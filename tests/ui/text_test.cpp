// Fonts, text layout and text drawing.

#include <gtest/gtest.h>

#include <thread>

#include "tests/ui/ink_box.h"
#include "ui/display_metrics.h"
#include "ui/font_manager.h"
#include "ui/platform/text_context.h"
#include "ui/platform/wm_surface.h"

namespace zentri {
namespace {

using namespace TextFormat;

Font* Regular(int height = 26) {
    return FontManager::Instance().GetFont(400, height, false);
}

int Width(Font* font, std::u16string_view text) {
    Font::Glyphs glyphs(*font);
    return TextWidth(glyphs, text);
}

std::vector<std::u16string> Lines(Font* font, std::u16string_view text, int w, int h,
                                  uint32_t format) {
    Font::Glyphs glyphs(*font);
    TextLayout layout = LayoutText(glyphs, font->Height(), text, w, h, format);
    std::vector<std::u16string> out;
    for (const TextLine& line : layout.lines)
        out.push_back(std::u16string(text.substr(line.begin, line.end - line.begin)) +
                      (line.ellipsis ? u"\u2026" : u""));
    return out;
}

using test::InkBox;

WMSurface White(int w, int h) {
    WMSurface s;
    s.Create(w, h, false);
    return s;
}

TEST(FontManagerKeys, SameKeySameFontNegativeHeightsNeverMatch) {
    FontManager& fonts = FontManager::Instance();
    int u = GetDisplayMetrics().baseFontHeight;
    EXPECT_EQ(u, 26);  // the default device: 192 dpi
    EXPECT_EQ(fonts.GetFont(400, u, false), fonts.SystemFont());
    Font* a = fonts.GetFont(600, 30, false);
    EXPECT_EQ(fonts.GetFont(600, 30, false), a);
    EXPECT_NE(fonts.GetFont(600, 30, true), a);
    EXPECT_NE(fonts.GetFont(400, 30, false), a);
    Font* n1 = fonts.GetFont(400, -33, false);
    Font* n2 = fonts.GetFont(400, -33, false);
    EXPECT_NE(n1, n2);
    // Entries keep the absolute height: the positive key finds the first one made.
    EXPECT_EQ(fonts.GetFont(400, 33, false), n1);
    EXPECT_EQ(n1->Height(), 33);
}

TEST(FontManagerKeys, BoldFromWeight600) {
    FontManager& fonts = FontManager::Instance();
    std::u16string text = u"Bold or not, wide MMMM";
    int regular = Width(fonts.GetFont(400, 26, false), text);
    EXPECT_EQ(Width(fonts.GetFont(599, 26, false), text), regular);
    EXPECT_GT(Width(fonts.GetFont(600, 26, false), text), regular);
    EXPECT_EQ(Width(fonts.GetFont(600, 26, false), text),
              Width(fonts.GetFont(700, 26, false), text));
}

TEST(FontMetrics, LineHeightIsTheFontHeight) {
    for (int h : {13, 26, 39}) {
        Font* f = Regular(h);
        ASSERT_TRUE(f->HasFace());
        EXPECT_EQ(f->Height(), h);
        EXPECT_GT(f->Ascent(), h / 2);
        EXPECT_LT(f->Ascent(), h);
        EXPECT_LE(f->Ascent() + f->UnderlineOffset() + f->UnderlineThickness(), h);
    }
}

TEST(TextLayoutTest, WordBreakWrapsAtSpacesAndSplitsLongWords) {
    Font* f = Regular();
    int w = Width(f, u"alpha beta");
    EXPECT_EQ(Lines(f, u"alpha beta gamma", w, 1000, WordBreak),
              (std::vector<std::u16string>{u"alpha beta", u"gamma"}));
    EXPECT_EQ(Lines(f, u"alpha beta   gamma delta", w, 1000, WordBreak),
              (std::vector<std::u16string>{u"alpha beta", u"gamma", u"delta"}));
    EXPECT_EQ(Lines(f, u"one\ntwo\r\n\rthree", 1000, 1000, 0),
              (std::vector<std::u16string>{u"one", u"two", u"", u"three"}));
    EXPECT_EQ(Lines(f, u"one\ntwo", 1000, 1000, SingleLine),
              (std::vector<std::u16string>{u"one\ntwo"}));
    // A word wider than the box is split where it stops fitting.
    int ab = Width(f, u"abcd");
    EXPECT_EQ(Lines(f, u"abcdefgh", ab, 1000, WordBreak),
              (std::vector<std::u16string>{u"abcd", u"efgh"}));
    // Without WordBreak a long line stays whole.
    EXPECT_EQ(Lines(f, u"alpha beta gamma", w, 1000, 0).size(), 1u);
}

TEST(TextLayoutTest, EndAndWordEllipsis) {
    Font* f = Regular();
    Font::Glyphs glyphs(*f);
    int dots = glyphs.Advance(kEllipsis);
    std::u16string text = u"alpha beta gamma";
    int room = Width(f, u"alpha beta ga") + dots;
    EXPECT_EQ(Lines(f, text, room, 100, SingleLine | EndEllipsis),
              (std::vector<std::u16string>{u"alpha beta ga\u2026"}));
    EXPECT_EQ(Lines(f, text, room, 100, SingleLine | WordEllipsis),
              (std::vector<std::u16string>{u"alpha beta\u2026"}));
    // Text that fits is left alone.
    EXPECT_EQ(Lines(f, text, Width(f, text), 100, SingleLine | WordEllipsis),
              (std::vector<std::u16string>{text}));
    // When not even the first word fits, the word ellipsis cuts inside it.
    EXPECT_EQ(Lines(f, u"abcdefgh ij", Width(f, u"abc") + dots, 100, SingleLine | WordEllipsis),
              (std::vector<std::u16string>{u"abc\u2026"}));
    // Wrapped text taller than the box ends with an ellipsis on its last visible line.
    int lh = f->Height();
    auto cut = Lines(f, u"alpha beta gamma delta", Width(f, u"alpha beta"), 2 * lh + 3,
                     WordBreak | EndEllipsis);
    ASSERT_EQ(cut.size(), 2u);
    EXPECT_EQ(cut[1].back(), u'\u2026');
    TextLayout layout = LayoutText(glyphs, lh, u"alpha beta gamma delta", 50, 2 * lh, WordBreak);
    EXPECT_GT(layout.lines.size(), 2u);  // without the flag all lines stay
}

TEST(TextLayoutTest, CalcRectMeasuresWithoutDrawing) {
    WMSurface s = White(300, 200);
    TextContext dc = s.BeginText();
    dc.SelectFont(Regular());
    Rect r{10, 10, 300, 0};
    EXPECT_EQ(dc.DrawText(u"Hello world", r, SingleLine | CalcRect), 26);
    EXPECT_EQ(r, (Rect{10, 10, dc.TextWidth(u"Hello world"), 26}));
    Rect wrapped{0, 0, dc.TextWidth(u"Hello world"), 0};
    EXPECT_EQ(dc.DrawText(u"Hello world hello world", wrapped, WordBreak | CalcRect), 52);
    EXPECT_EQ(wrapped.h, 52);
    EXPECT_LE(wrapped.w, dc.TextWidth(u"Hello world"));
    EXPECT_EQ(InkBox(s), Rect{});
}

TEST(TextLayoutTest, CharacterPositionsAreMonotonicAndEndAtTheWidth) {
    WMSurface none;  // measuring needs no pixels
    TextContext dc(none);
    dc.SelectFont(Regular());
    std::u16string text = u"Wi\u00e9 x\U0001F600.";  // a surrogate pair near the end
    std::vector<int> x = dc.CharacterPositions(text);
    ASSERT_EQ(x.size(), text.size() + 1);
    EXPECT_EQ(x[0], 0);
    for (size_t i = 1; i < x.size(); ++i)
        EXPECT_GE(x[i], x[i - 1]);
    EXPECT_EQ(x.back(), dc.TextWidth(text));
    EXPECT_EQ(x[2], dc.TextWidth(u"Wi"));
    EXPECT_EQ(x[6], x[5]);  // inside the pair
}

TEST(TextDrawing, AlignmentMovesTheInkByTheExpectedOffsets) {
    std::u16string text = u"Align";
    int w = 0, left = 0, top = 0;
    for (uint32_t h : {Left, Center, Right}) {
        for (uint32_t v : {Top, VCenter, Bottom}) {
            WMSurface s = White(200, 100);
            TextContext dc = s.BeginText();
            dc.SelectFont(Regular());
            w = dc.TextWidth(text);
            Rect r{0, 0, 200, 100};
            dc.DrawText(text, r, h | v | SingleLine);
            Rect ink = InkBox(s);
            ASSERT_GT(ink.w, 0);
            if (h == Left && v == Top) left = ink.x, top = ink.y;
            int dx = h == Left ? 0 : h == Center ? (200 - w) / 2 : 200 - w;
            int dy = v == Top ? 0 : v == VCenter ? (100 - 26) / 2 : 100 - 26;
            EXPECT_EQ(ink.x, left + dx) << h << "/" << v;
            EXPECT_EQ(ink.y, top + dy) << h << "/" << v;
        }
    }
}

TEST(TextDrawing, ColourClipOriginAndNoClip) {
    Color blue = RGB(0x0000FF);
    std::u16string text = u"IIII";  // stems with full coverage
    // Clipped to the rectangle: nothing right of x = 20 + 8.
    WMSurface s = White(120, 60);
    s.SetOrigin(20, 10);
    TextContext dc = s.BeginText();
    dc.SelectFont(Regular());
    dc.SetTextColor(blue);
    Rect r{0, 0, 8, 40};
    dc.DrawText(text, r, Left | Top);
    Rect ink = InkBox(s);
    EXPECT_GE(ink.x, 20);
    EXPECT_LE(ink.x + ink.w, 28);
    EXPECT_GE(ink.y, 10);
    bool exact = false;
    for (uint16_t p : s.pixels)
        exact |= p == To565(blue);
    EXPECT_TRUE(exact);
    // NoClip reaches past the rectangle but never past the surface's clip.
    WMSurface t = White(120, 60);
    t.PushClip({0, 0, 40, 60});
    TextContext dc2 = t.BeginText();
    dc2.SelectFont(Regular());
    Rect r2{0, 0, 8, 40};
    dc2.DrawText(text, r2, NoClip);
    Rect ink2 = InkBox(t);
    EXPECT_GT(ink2.x + ink2.w, 8);
    EXPECT_LE(ink2.x + ink2.w, 40);
}

TEST(TextDrawing, UnderlineIsARowOfTextColourUnderTheText) {
    WMSurface s = White(200, 40);
    TextContext dc = s.BeginText();
    Font* f = FontManager::Instance().GetFont(400, 26, true);
    dc.SelectFont(f);
    Rect r{5, 0, 200, 40};
    dc.DrawText(u"under", r, SingleLine);
    int y = f->Ascent() + f->UnderlineOffset();
    int w = dc.TextWidth(u"under");
    for (int x = 5; x < 5 + w; ++x)
        ASSERT_EQ(s.Pixel(x, y), 0x0000) << x;
    EXPECT_EQ(s.Pixel(5 + w, y), 0xFFFF);
}

// Two threads drawing with the same font into their own surfaces get what one thread gets.
TEST(TextDrawing, TwoThreadsDrawTheSamePixels) {
    auto render = [] {
        WMSurface s = White(160, 60);
        TextContext dc = s.BeginText();
        dc.SelectFont(FontManager::Instance().GetFont(600, 22, false));
        for (int i = 0; i < 50; ++i) {
            Rect r{0, 0, 160, 60};
            dc.DrawText(u"Thread \u00e4\u00f6\u00fc \u0436\u0444 test", r, WordBreak);
        }
        return s.pixels;
    };
    std::vector<uint16_t> a, b;
    std::thread t1([&] { a = render(); }), t2([&] { b = render(); });
    t1.join();
    t2.join();
    EXPECT_EQ(a, b);
    EXPECT_EQ(a, render());
}

}  // namespace
}  // namespace zentri
