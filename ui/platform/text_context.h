#pragma once
// Drawing and measuring text on a surface: what a widget gets from WMSurface::BeginText(). The
// context takes the surface's current clip and origin when it is made; text is drawn at once
// (anti-aliased coverage blended into the RGB565 pixels in the text colour with the surface's
// blend formula), so there is nothing to flush and nothing to end: drop the context when done.
//
//     TextContext dc = surface.BeginText();
//     dc.SelectFont(FontManager::Instance().GetFont(600, height, false));
//     dc.SetTextColor(RGB(0x202020));
//     Rect r{0, 0, w, h};
//     dc.DrawText(text, r, TextFormat::Center | TextFormat::VCenter | TextFormat::SingleLine);

#include <cstdint>
#include <string_view>
#include <vector>

#include "ui/platform/font.h"
#include "ui/platform/text_layout.h"
#include "ui/rect.h"
#include "ui/surface.h"

namespace zentri {

class TextContext {
  public:
    // Uses the surface's current clip and origin, the system font and black.
    explicit TextContext(Surface& surface);

    // Null selects the system font.
    void SelectFont(Font* font);
    Font* SelectedFont() const { return font_; }
    void SetTextColor(Color color) { color_ = color; }
    Color TextColor() const { return color_; }
    int LineHeight() const { return font_->Height(); }

    // Lays `text` out in `rect` (coordinates relative to the origin, like every other drawing
    // call) with TextFormat flags and draws it, clipped to the rectangle unless NoClip and
    // always to the clip. Returns the height of the text. With CalcRect nothing is drawn and
    // rect.w and rect.h become the size of the text (lines are broken at rect.w with WordBreak).
    int DrawText(std::u16string_view text, Rect& rect, uint32_t format);

    // The width of the text as one line.
    int TextWidth(std::u16string_view text);
    // x of each character boundary (see CharacterPositions in text_layout.h): the edit box's
    // caret positions and hit testing.
    std::vector<int> CharacterPositions(std::u16string_view text);

  private:
    void DrawLine(Font::Glyphs& glyphs, std::u16string_view text, const TextLine& line, int x,
                  int top, const Rect& clip);
    void DrawGlyph(const Glyph& glyph, int penX, int baseline, const Rect& clip, uint16_t color);

    Surface& surface_;
    Rect clip_;  // surface coordinates, inside the surface
    int originX_;
    int originY_;
    Font* font_;
    Color color_{};
};

}  // namespace zentri
