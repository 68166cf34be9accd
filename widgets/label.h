#pragma once
// TLabel: text in the node's rectangle minus paddings, in a font and colour, single line (cut
// with an ellipsis at a word boundary) or broken at words. The colour fades towards white with
// the node's transparency. DrawLabelText is the one virtual operation that text-bearing widgets
// add; the edit box overrides it.

#include <cstdint>
#include <string>
#include <string_view>

#include "ui/font_manager.h"
#include "ui/platform/text_context.h"
#include "ui/platform/text_layout.h"
#include "ui/rect.h"
#include "ui/surface.h"
#include "widgets/padding.h"

namespace zentri {

// The colour seen through transparency t (0..255) over white: each channel moves from 255
// towards its own value by t / 256.
constexpr Color FadeTowardsWhite(Color c, int t) {
    auto channel = [t](int v) { return static_cast<uint8_t>(255 + (((v - 255) * t) >> 8)); };
    return Color{channel(c.r), channel(c.g), channel(c.b)};
}

template <class B>
class TLabel : public B {
  public:
    void SetText(std::u16string value) {
        if (value == text) return;
        text = std::move(value);
        measuredWidth = -1;
        this->Invalidate();
    }
    const std::u16string& Text() const { return text; }
    // Null is the system font.
    void SetFont(Font* value) {
        if (value == font) return;
        font = value;
        measuredWidth = -1;
        this->Invalidate();
    }
    // The program's fonts are weight 600 without underline unless said otherwise.
    void SetFont(int weight, int height) {
        SetFont(FontManager::Instance().GetFont(weight, height, false));
    }
    Font* GetFont() const { return font ? font : FontManager::Instance().SystemFont(); }
    void SetTextColor(Color value) {
        if (value == textColor) return;
        textColor = value;
        this->Invalidate();
    }
    Color TextColor() const { return textColor; }
    // TextFormat flags: alignment and single line.
    void SetFormat(uint32_t value) {
        if (value == format) return;
        format = value;
        this->Invalidate();
    }
    uint32_t Format() const { return format; }
    // Further flags for a single-line label.
    void SetSingleLineFlags(uint32_t value) {
        if (value == singleLineFlags) return;
        singleLineFlags = value;
        this->Invalidate();
    }
    void SetTextPadding(int left, int top, int right, int bottom) {
        textPadding = Padding{left, top, right, bottom};
        this->Invalidate();
    }
    void SetMultiLine(bool value) {
        if (value == multiLine) return;
        multiLine = value;
        this->Invalidate();
    }
    bool MultiLine() const { return multiLine; }

    // The text rectangle in the node's own coordinates: its rectangle minus the paddings.
    Rect TextRect() const { return textPadding.Inside(this->Width(), this->Height()); }
    // The width of the whole text as one line, measured when first asked after a change.
    int TextWidth() {
        if (measuredWidth < 0) {
            Font::Glyphs glyphs(*GetFont());
            measuredWidth = zentri::TextWidth(glyphs, text);
        }
        return measuredWidth;
    }

    std::u16string_view AutomationText() const override { return text; }

    void Draw(Surface& surface) override {
        B::Draw(surface);
        TextContext dc(surface);
        dc.SelectFont(font);
        dc.SetTextColor(FadeTowardsWhite(textColor, this->Transparency()));
        Rect rect = TextRect();
        DrawLabelText(surface, dc, rect, text);
    }

    // Draws `text` into `rect` with the label's flags, never clipped to the rectangle (only to
    // the node's paint area) and without "&" prefixes.
    virtual void DrawLabelText(Surface& surface, TextContext& dc, Rect& rect,
                               const std::u16string& value) {
        (void)surface;
        if (value.empty()) return;
        uint32_t flags = format | TextFormat::NoClip;
        flags |= multiLine ? TextFormat::WordBreak : singleLineFlags | TextFormat::WordEllipsis;
        dc.DrawText(value, rect, flags);
    }

  protected:
    std::u16string text;
    Font* font = nullptr;  // the system font
    Color textColor{0, 0, 0};
    uint32_t format = 0;
    uint32_t singleLineFlags = 0;
    Padding textPadding;
    bool multiLine = false;
    int measuredWidth = -1;
};

}  // namespace zentri
