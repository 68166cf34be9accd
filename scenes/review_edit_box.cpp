#include "scenes/review_edit_box.h"

#include <algorithm>

#include "ui/platform/text_context.h"
#include "ui/platform/text_layout.h"
#include "ui/surface.h"
#include "ui/touch.h"
#include "widgets/edit_text.h"

namespace zentri {

namespace {

constexpr Color kBorder{120, 120, 120};
constexpr Color kCaret{0, 0, 255};

}  // namespace

ReviewEditBox::ReviewEditBox() {
    SetMultiLine(true);
    SetFillColor(Color{255, 255, 255});
    SetFocusable(true);
    OnKey().Add(this, &ReviewEditBox::KeyEvent);
    // A touch target, so that a tap gives it the focus.
    OnTouch().Add([](GObjectPtr&, const Touch&) {});
}

// Like the handset's own edit window, the box leaves the input panel alone: the page under it
// must not scroll away for a panel.
void ReviewEditBox::FocusChanged(bool focused) {
    TLabel::FocusChanged(focused);
    Invalidate();
}

ReviewEditBox::Caret ReviewEditBox::CaretAt(const Rect& rect) {
    Font::Glyphs glyphs(*GetFont());
    const int lineHeight = GetFont()->Height();
    TextLayout layout = LayoutText(glyphs, lineHeight, text, rect.w, rect.h, TextFormat::WordBreak);
    Caret caret;
    if (!layout.lines.empty()) {
        const TextLine& last = layout.lines.back();
        const int lastTop = static_cast<int>(layout.lines.size() - 1) * lineHeight;
        // A text that ends in a line break has the caret at the start of the next line.
        const bool breakAtEnd = !text.empty() && (text.back() == u'\n') && last.begin < text.size();
        caret.x = breakAtEnd ? 0 : last.width;
        caret.y = breakAtEnd ? lastTop + lineHeight : lastTop;
    }
    caret.scroll = std::max(0, caret.y + lineHeight - rect.h);
    return caret;
}

void ReviewEditBox::DrawLabelText(Surface& surface, TextContext& dc, Rect& rect,
                                  const std::u16string& value) {
    const int t = Transparency();
    const Color border = FadeTowardsWhite(kBorder, t);
    surface.FillRect(0, 0, Width(), 1, border, 255);
    surface.FillRect(0, Height() - 1, Width(), 1, border, 255);
    surface.FillRect(0, 0, 1, Height(), border, 255);
    surface.FillRect(Width() - 1, 0, 1, Height(), border, 255);

    Caret caret = CaretAt(rect);
    Rect shifted{rect.x, rect.y - caret.scroll, rect.w, rect.h + caret.scroll};
    if (!value.empty()) dc.DrawText(value, shifted, TextFormat::WordBreak | TextFormat::NoClip);
    if (IsFocused())
        surface.FillRect(rect.x + caret.x, rect.y + caret.y - caret.scroll, 2, dc.LineHeight(),
                         kCaret, t);
}

void ReviewEditBox::KeyEvent(GObjectPtr& self, const Key& key) {
    (void)self;
    if (!IsFocused()) return;
    if (key.code == Key::kEnter) Character(u'\n');
    if (key.code == Key::kCharacter) Character(static_cast<char16_t>(key.character));
}

void ReviewEditBox::Character(char16_t c) {
    std::u16string value = text;
    switch (c) {
        case 8:  // backspace
            value.erase(edit::PrevBoundary(value, value.size()));
            break;
        case 12:  // form feed empties the box
            value.clear();
            break;
        case u'\n':  // Enter (the key, whose character also arrives as a return, ignored)
            value += u'\n';
            break;
        default:
            if (c < 0x20 || c == 0x7F) return;
            value += c;
    }
    SetText(std::move(value));
}

}  // namespace zentri
