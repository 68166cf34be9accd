// One composition of everything the surfaces draw (images with alpha, fills with opacity, text
// in both weights with each alignment, ellipsis, word break, underline), compared with the
// committed reference picture. The rendering is left in the build folder as
// ui-render/composition.png; ZENTRI_UPDATE_REFERENCE=1 writes it over the reference instead.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "tests/support/temp_device.h"
#include "tests/ui/image_fixtures.h"
#include "tests/ui/reference_image.h"
#include "ui/font_manager.h"
#include "ui/platform/png_writer.h"
#include "ui/platform/wm_surface.h"

namespace zentri {
namespace {

using namespace TextFormat;

// A disc with a soft, half-transparent rim: the alpha edge of an icon.
shared_ptr<WMSurface> Disc(int size, uint32_t rgb) {
    auto spec = test::RgbaSpec(size, size, [&](int x, int y) {
        double r = size / 2.0, d = std::hypot(x + 0.5 - r, y + 0.5 - r);
        double a = std::clamp((r - d) / 3.0, 0.0, 1.0);
        return (static_cast<uint32_t>(a * 255) << 24) | rgb;
    });
    auto s = MakeShared<WMSurface>();
    std::vector<uint8_t> png = test::MakePng(spec);
    EXPECT_TRUE(s->LoadBuffer(png.data(), png.size()));
    return s;
}

// An opaque 24-bit picture: colour bars over a vertical grey ramp.
shared_ptr<WMSurface> Bars(int w, int h) {
    test::PngSpec spec{w, h, 2, 8, false, {}, {}, {}};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            int bar = x * 6 / w, g = 255 * y / (h - 1);
            spec.samples.insert(spec.samples.end(), {static_cast<uint16_t>(bar & 1 ? 255 : g),
                                                     static_cast<uint16_t>(bar & 2 ? 255 : g),
                                                     static_cast<uint16_t>(bar & 4 ? 255 : g)});
        }
    auto s = MakeShared<WMSurface>();
    std::vector<uint8_t> png = test::MakePng(spec);
    EXPECT_TRUE(s->LoadBuffer(png.data(), png.size()));
    return s;
}

void Label(TextContext& dc, const char16_t* text, Rect r, uint32_t format, Surface& s) {
    s.FillRect(r.x, r.y, r.w, r.h, RGB(0xDDE8F4), 255);
    dc.DrawText(text, r, format);
}

WMSurface Compose() {
    WMSurface s;
    s.Create(480, 400, false);
    s.FillRaw({0, 0, 480, 400}, 0xFFFF);

    // Fills at opacities over a dark band.
    s.FillRect(0, 0, 480, 60, RGB(0x203040), 255);
    for (int i = 0; i < 8; ++i)
        s.FillRect(10 + i * 58, 8, 50, 44, RGB(0xFF8000), 32 * i + 31);

    // Images: opaque bars, discs with alpha at full and half opacity, a scaled copy.
    shared_ptr<WMSurface> bars = Bars(120, 90), disc = Disc(64, 0x2080E0);
    s.Blit(10, 70, 120, 90, *bars);
    s.Blit(100, 80, 64, 64, *disc);
    s.BlitAlpha(170, 80, 64, 64, *disc, 128);
    shared_ptr<Surface> big = disc->Scaled(96, 96), small = disc->Scaled(24, 24);
    s.Blit(240, 64, 96, 96, *big);
    s.Blit(345, 100, 24, 24, *small);
    s.BlitAlpha(380, 70, 90, 90, *bars, 100, 10, 0);

    // Text in both weights with every alignment, clipped to a pushed clip with an origin.
    TextContext dc = s.BeginText();
    Font* regular = FontManager::Instance().GetFont(400, 26, false);
    Font* bold = FontManager::Instance().GetFont(600, 26, false);
    Font* small18 = FontManager::Instance().GetFont(400, 18, false);
    Font* underline = FontManager::Instance().GetFont(400, 22, true);
    const uint32_t h[] = {Left, Center, Right}, v[] = {Top, VCenter, Bottom};
    for (int i = 0; i < 3; ++i) {
        dc.SelectFont(i == 1 ? bold : regular);
        dc.SetTextColor(RGB(i == 2 ? 0xA01010 : 0x101010));
        Label(dc, u"Zentri Äpps", {10 + i * 155, 170, 150, 44}, h[i] | v[i] | SingleLine, s);
    }
    dc.SelectFont(bold);
    dc.SetTextColor(RGB(0x006000));
    Label(dc, u"An end ellipsis cuts this title", {10, 222, 225, 30}, SingleLine | EndEllipsis, s);
    Label(dc, u"A word ellipsis cuts this title", {245, 222, 225, 30}, SingleLine | WordEllipsis,
          s);
    dc.SelectFont(small18);
    dc.SetTextColor(RGB(0x303030));
    Label(dc,
          u"Word break lays out a longer description over several lines, and the last line "
          u"that fits ends with an ellipsis when more text follows than the box can hold.",
          {10, 260, 300, 80}, WordBreak | EndEllipsis, s);
    dc.SelectFont(underline);
    dc.SetTextColor(RGB(0x1040C0));
    Label(dc, u"underlined link", {320, 260, 150, 30}, Center | SingleLine, s);
    dc.SelectFont(regular);
    dc.SetTextColor(RGB(0x000000));
    // NoClip: the text leaves its narrow box but stays inside the clip pushed on the surface.
    s.PushClip({320, 300, 150, 40});
    TextContext clipped = s.BeginText();
    clipped.SelectFont(regular);
    Rect narrow{330, 305, 40, 30};
    s.FillRect(narrow.x, narrow.y, narrow.w, narrow.h, RGB(0xF0D0D0), 255);
    clipped.DrawText(u"No clipping here", narrow, NoClip | SingleLine);
    s.PopClip();
    s.SetOrigin(0, 355);
    TextContext shifted = s.BeginText();
    shifted.SelectFont(small18);
    shifted.SetTextColor(RGB(0x808080));
    Rect bottom{10, 0, 460, 40};
    shifted.DrawText(u"origin (0, 355): grey text at the bottom right", bottom,
                     Right | Bottom | SingleLine);
    s.SetOrigin(0, 0);
    return s;
}

TEST(RenderReference, CompositionMatchesTheReference) {
    WMSurface rendered = Compose();
    test::ExpectMatchesReference(rendered, test::SourceDir() / "tests/ui/reference/composition.png",
                                 test::BuildDir() / "ui-render" / "composition.png");
}

}  // namespace
}  // namespace zentri
