#include "ui/platform/text_context.h"

#include <algorithm>

#include "ui/font_manager.h"
#include "ui/pixel_ops.h"

namespace zentri {
namespace {

// Text boxes far outside any surface are pulled in to this range, so that positions computed
// from them (box edges, centring, pen positions) cannot overflow.
constexpr int64_t kCoordLimit = 1 << 24;
int Pull(int64_t v) {
    return static_cast<int>(std::clamp(v, -kCoordLimit, kCoordLimit));
}

}  // namespace

TextContext::TextContext(Surface& surface)
    : surface_(surface),
      clip_(surface.DrawableClip()),
      originX_(surface.originX),
      originY_(surface.originY),
      font_(FontManager::Instance().SystemFont()) {}

void TextContext::SelectFont(Font* font) {
    font_ = font ? font : FontManager::Instance().SystemFont();
}

int TextContext::TextWidth(std::u16string_view text) {
    Font::Glyphs glyphs(*font_);
    return zentri::TextWidth(glyphs, text);
}

std::vector<int> TextContext::CharacterPositions(std::u16string_view text) {
    Font::Glyphs glyphs(*font_);
    return zentri::CharacterPositions(glyphs, text);
}

int TextContext::DrawText(std::u16string_view text, Rect& rect, uint32_t format) {
    using namespace TextFormat;
    Font::Glyphs glyphs(*font_);
    int lineHeight = font_->Height();
    TextLayout layout = LayoutText(glyphs, lineHeight, text, rect.w, rect.h, format);
    if (format & CalcRect) {
        rect.w = layout.width;
        rect.h = layout.height;
        return layout.height;
    }
    if (surface_.pixels.empty() || !surface_.IsConsistent()) return layout.height;

    Rect box{Pull(int64_t{rect.x} + originX_), Pull(int64_t{rect.y} + originY_), Pull(rect.w),
             Pull(rect.h)};
    Rect clip = (format & NoClip) ? clip_ : clip_.Intersection(box);
    if (clip.w <= 0 || clip.h <= 0) return layout.height;

    int top = box.y;
    if (format & Bottom)
        top += box.h - layout.height;
    else if (format & VCenter)
        top += (box.h - layout.height) / 2;
    for (const TextLine& line : layout.lines) {
        int x = box.x;
        if (format & Right)
            x += box.w - line.width;
        else if (format & Center)
            x += (box.w - line.width) / 2;
        DrawLine(glyphs, text, line, x, top, clip);
        top += lineHeight;
    }
    return layout.height;
}

void TextContext::DrawLine(Font::Glyphs& glyphs, std::u16string_view text, const TextLine& line,
                           int x, int top, const Rect& clip) {
    // Lines wholly above or below the clip have nothing to draw.
    if (top >= clip.y + clip.h || top + font_->Height() <= clip.y) return;
    uint16_t color = To565(color_);
    int baseline = top + font_->Ascent();
    int pen = x;
    for (size_t i = line.begin; i < line.end;) {
        const Glyph& glyph = glyphs.Get(NextCodePoint(text, i));
        DrawGlyph(glyph, pen, baseline, clip, color);
        pen += glyph.advance;
    }
    if (line.ellipsis) {
        const Glyph& glyph = glyphs.Get(kEllipsis);
        DrawGlyph(glyph, pen, baseline, clip, color);
        pen += glyph.advance;
    }
    if (font_->Underline()) {
        Rect bar{x, baseline + font_->UnderlineOffset(), pen - x, font_->UnderlineThickness()};
        Rect cut = bar.Intersection(clip);
        for (int y = cut.y; y < cut.y + cut.h && cut.w > 0; ++y) {
            uint16_t* d = &surface_.pixels[static_cast<size_t>(y) * surface_.width + cut.x];
            std::fill(d, d + cut.w, color);
        }
    }
}

void TextContext::DrawGlyph(const Glyph& glyph, int penX, int baseline, const Rect& clip,
                            uint16_t color) {
    if (glyph.coverage.empty()) return;
    int gx = penX + glyph.left, gy = baseline - glyph.top;
    int x0 = std::max(gx, clip.x), x1 = std::min(gx + glyph.width, clip.x + clip.w);
    int y0 = std::max(gy, clip.y), y1 = std::min(gy + glyph.height, clip.y + clip.h);
    if (x0 >= x1 || y0 >= y1) return;
    // The zero padding of a coverage row draws nothing, so whole padded rows may be passed
    // when they stay inside the clip: the row function then needs no scalar tail.
    if (x0 == gx && gx + glyph.stride <= clip.x + clip.w) x1 = gx + glyph.stride;
    const uint8_t* cov = &glyph.coverage[static_cast<size_t>(y0 - gy) * glyph.stride + (x0 - gx)];
    uint16_t* d = &surface_.pixels[static_cast<size_t>(y0) * surface_.width + x0];
    pixel::Ops().blendCoverageRect(d, surface_.width, color, cov, glyph.stride, x1 - x0, y1 - y0);
}

}  // namespace zentri
