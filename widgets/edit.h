#pragma once
// TEdit: a single-line text entry drawn by the program: a caret that blinks while focused,
// selection by dragging a finger across the text, a password mode that shows one mask
// character per character, a numeric mode (digits and one decimal point, with the custom
// keyboard), a length limit, and onTextCommitted when the editing ends (the focus goes). The
// text never scrolls: a character that would not fit is refused. B provides TLabel over TImage
// (the box's picture).

#include <algorithm>
#include <string>
#include <vector>

#include "ui/animator.h"
#include "ui/input_manager.h"
#include "ui/interpolator.h"
#include "ui/property.h"
#include "ui/states_chain.h"
#include "ui/touch.h"
#include "ui/ui_server.h"
#include "widgets/chain_run.h"
#include "widgets/edit_text.h"
#include "widgets/label.h"

namespace zentri {

// What the caret's animation drives.
class ICursorTransparency {
  public:
    virtual ~ICursorTransparency() = default;
    virtual int GetCursorTransparency() const = 0;
    virtual void SetCursorTransparency(int value) = 0;
};

template <class B>
class TEdit : public B, public ICursorTransparency {
  public:
    // The caret's opacity as an animated property.
    class CursorAnimationProperty : public Property<int> {
      public:
        explicit CursorAnimationProperty(ICursorTransparency* target) : target(target) {}
        void Set(int value) override { target->SetCursorTransparency(value); }
        int Get() override { return target->GetCursorTransparency(); }

      private:
        ICursorTransparency* target;
    };
    using TextCommittedEvent = Delegation_1<const std::u16string&>;

    // The caret fades out over this many frames and back.
    static constexpr int kBlinkFrames = 15;

    TEdit()
        : caretChain(new ComplexStatesChain<int>(new CubicInterpolator<int>,
                                                 new CursorAnimationProperty(this))) {
        caretChain->Lock();  // until the first focus
        this->SetFocusable(true);
        this->OnKey().Add(this, &TEdit::KeyEvent);
        this->OnTouch().Add(this, &TEdit::TouchEvent);
    }
    // The blink must not write into a node that is gone.
    ~TEdit() override { caretChain->Lock(); }

    TextCommittedEvent& OnTextCommitted() { return onTextCommitted; }

    // The text, with the caret at its end and no selection.
    void SetText(std::u16string value) {
        B::SetText(std::move(value));
        cursor = this->text.size();
        selectionStart = selectionEnd = 0;
        this->Invalidate();
    }
    void SetHint(std::u16string value) {
        hint = std::move(value);
        this->Invalidate();
    }
    void SetPassword(bool value, char16_t mask = u'*') {
        password = value;
        passwordChar = mask;
        this->Invalidate();
    }
    void SetNumeric(bool value, char16_t point = u'.') {
        numeric = value;
        decimalPoint = point;
    }
    void SetMaxLength(int value) { maxLength = std::max(value, 0); }
    void SetCaretColor(Color value) { caretColor = value; }
    void SetSelectionColor(Color value) { selectionColor = value; }
    void SetHintColor(Color value) { hintColor = value; }
    // Places the caret and selects [start, end) (either order); indexes are clamped.
    void Select(size_t start, size_t end) {
        size_t n = this->text.size();
        selectionStart = std::min(start, n);
        selectionEnd = std::min(end, n);
        cursor = selectionEnd;
        this->Invalidate();
    }

    const std::u16string& Hint() const { return hint; }
    bool Password() const { return password; }
    bool Numeric() const { return numeric; }
    int MaxLength() const { return maxLength; }
    size_t Cursor() const { return std::min(cursor, this->text.size()); }
    // The selection in text order, within the text (which a label's setter may have shortened).
    size_t SelectionStart() const {
        return std::min({selectionStart, selectionEnd, this->text.size()});
    }
    size_t SelectionEnd() const {
        return std::min(std::max(selectionStart, selectionEnd), this->text.size());
    }
    bool HasSelection() const { return SelectionStart() != SelectionEnd(); }
    int CaretOpacity() const { return caretOpacity; }

    int GetCursorTransparency() const override { return caretOpacity; }
    void SetCursorTransparency(int value) override {
        if (value == caretOpacity) return;
        caretOpacity = value;
        this->Invalidate();
    }

    // What the box shows: the masked text of a password, the hint when there is no text.
    std::u16string_view AutomationText() const override {
        shownForAutomation = Shown();
        if (shownForAutomation.empty()) return hint;
        return shownForAutomation;
    }
    bool IsEditBox() const override { return true; }

    void FocusChanged(bool focused) override {
        B::FocusChanged(focused);
        if (focused) {
            caretChain->Unlock();
            cursor = this->text.size();
            selectionStart = selectionEnd = 0;
            caretOpacity = 255;
            RestartBlink();
            ShowKeyboard();
            return;
        }
        selectionStart = selectionEnd = 0;
        std::u16string committed = this->text;  // a handler may change the text
        onTextCommitted.Invoke(committed);
        InputManager::Instance().Hide();
        caretChain->Lock();
    }

    void DrawLabelText(Surface& surface, TextContext& dc, Rect& rect,
                       const std::u16string& value) override {
        bool hinted = value.empty() && !hint.empty();
        std::u16string shown = Shown();
        if (hinted) dc.SetTextColor(FadeTowardsWhite(hintColor, this->Transparency()));
        int lineHeight = dc.LineHeight();
        Rect line{rect.x, LineTop(rect, lineHeight), rect.w, lineHeight};
        std::vector<int> positions;
        if (this->IsFocused()) {
            positions = dc.CharacterPositions(shown);
            if (HasSelection()) {
                int a = positions[ShownIndex(SelectionStart())];
                int b = positions[ShownIndex(SelectionEnd())];
                surface.FillRect(line.x + a, line.y, b - a, lineHeight, selectionColor,
                                 127 * this->Transparency() / 255);
            }
        }
        const std::u16string& drawn = hinted ? hint : shown;
        if (!drawn.empty()) {
            Rect r = line;
            dc.DrawText(drawn, r, TextFormat::SingleLine | TextFormat::NoClip);
        }
        if (this->IsFocused()) {
            int x = line.x + positions[ShownIndex(Cursor())] - 1;
            surface.FillRect(x, line.y, 2, lineHeight, caretColor,
                             caretOpacity * this->Transparency() / 255);
        }
    }

  protected:
    // The text as shown: masked for a password.
    std::u16string Shown() const {
        return password ? edit::Masked(this->text, passwordChar) : this->text;
    }
    size_t ShownIndex(size_t i) const { return password ? edit::MaskedIndex(this->text, i) : i; }
    int LineTop(const Rect& rect, int lineHeight) const {
        if (this->format & TextFormat::VCenter) return rect.y + (rect.h - lineHeight) / 2;
        if (this->format & TextFormat::Bottom) return rect.y + rect.h - lineHeight;
        return rect.y;
    }
    void ShowKeyboard() {
        InputManager::Instance().Show(this->AbsRect().y, this->Height(), numeric);
    }

    // The caret shows fully again and fades from there: an animation that runs is moved back
    // to its first state; otherwise a new one starts.
    void RestartBlink() {
        if (!this->IsFocused()) return;
        SetCursorTransparency(255);
        if (caretChain->DriverCount() == 1 && caretChain->Count() == kBlinkFrames + 1) {
            caretChain->SetState(0);
            return;
        }
        caretChain->Reset();
        caretChain->SetTarget(kBlinkFrames, 0);
        RunLooping(*this, caretChain, StateAnimator::kBounce);
    }

    void KeyEvent(GObjectPtr& self, const Key& key) {
        (void)self;
        if (!this->IsFocused()) return;
        RestartBlink();
        std::u16string_view t = this->text;
        switch (key.code) {
            case Key::kEnter:
                if (this->Server()) this->Server()->SetFocus(nullptr);  // ends the editing
                return;
            case Key::kLeft:
                cursor = edit::PrevBoundary(t, Cursor());
                selectionStart = selectionEnd = 0;
                break;
            case Key::kRight:
                cursor = edit::NextBoundary(t, Cursor());
                selectionStart = selectionEnd = 0;
                break;
            case Key::kDelete:
                if (HasSelection())
                    RemoveSelection();
                else
                    Erase(Cursor(), edit::NextBoundary(t, Cursor()));
                break;
            case Key::kCharacter:
                Character(static_cast<char16_t>(key.character));
                break;
            default:
                return;
        }
        this->Invalidate();
    }
    void Character(char16_t c) {
        switch (c) {
            case 8:  // backspace
                if (HasSelection()) {
                    RemoveSelection();
                } else {
                    size_t end = Cursor();
                    Erase(edit::PrevBoundary(this->text, end), end);
                }
                return;
            case 12:  // form feed: empties the box
                Replace(u"", 0);
                return;
            default:
                // Tab, return, line feed and the other control characters are not text.
                if (c < 0x20 || c == 0x7F) return;
                Insert(c);
        }
    }

    // Replaces the selection (if any) by `c` at the caret, unless the result would not fit the
    // text rectangle, would exceed maxLength, or breaks the numeric rule.
    void Insert(char16_t c) {
        std::u16string result = this->text;
        size_t at = Cursor();
        if (HasSelection()) {
            result.erase(SelectionStart(), SelectionEnd() - SelectionStart());
            at = SelectionStart();
        }
        if (numeric && !edit::NumericAccepts(result, c, decimalPoint)) return;
        result.insert(at, 1, c);
        if (result.size() > static_cast<size_t>(maxLength)) return;
        std::u16string shown = password ? edit::Masked(result, passwordChar) : result;
        Font::Glyphs glyphs(*this->GetFont());
        if (zentri::TextWidth(glyphs, shown) >= this->TextRect().w) return;
        Replace(std::move(result), at + 1);
    }
    void RemoveSelection() {
        std::u16string result = this->text;
        size_t start = SelectionStart();
        result.erase(start, SelectionEnd() - start);
        Replace(std::move(result), start);
    }
    void Erase(size_t from, size_t to) {
        if (from >= to) return;
        std::u16string result = this->text;
        result.erase(from, to - from);
        Replace(std::move(result), from);
    }
    void Replace(std::u16string value, size_t caret) {
        B::SetText(std::move(value));
        cursor = std::min(caret, this->text.size());
        selectionStart = selectionEnd = 0;
        this->Invalidate();
    }

    // Down places the caret under the finger and captures the touch to the box; moving and
    // lifting the finger select from there. A double tap selects everything.
    void TouchEvent(GObjectPtr& self, const Touch& touch) {
        RestartBlink();
        bool captured = touch.capture.get() == this;
        switch (touch.type) {
            case Touch::kDown:
                ShowKeyboard();
                selectionStart = selectionEnd = cursor = IndexAt(touch.Current().x);
                touch.capture = self;
                break;
            case Touch::kMove:
                if (!captured) return;
                selectionEnd = cursor = IndexAt(touch.Current().x);
                break;
            case Touch::kUp:
                if (!captured) return;
                touch.capture = nullptr;
                selectionEnd = cursor = IndexAt(touch.Current().x);
                break;
            case Touch::kDoubleClick:
                Select(0, this->text.size());
                break;
            default:
                return;
        }
        this->Invalidate();
    }
    // The character boundary nearest to a screen x.
    size_t IndexAt(int screenX) {
        std::u16string shown = Shown();
        Font::Glyphs glyphs(*this->GetFont());
        std::vector<int> positions = CharacterPositions(glyphs, shown);
        int x = screenX - this->AbsRect().x - this->TextRect().x;
        size_t i = edit::NearestBoundary(shown, positions, x);
        return password ? edit::TextIndex(this->text, i) : i;
    }

    std::u16string hint;
    size_t cursor = 0;
    shared_ptr<ComplexStatesChain<int>> caretChain;
    int caretOpacity = 0;
    size_t selectionStart = 0;
    size_t selectionEnd = 0;
    Color caretColor{0, 0, 255};
    Color selectionColor{200, 200, 200};
    Color hintColor{0x78, 0x78, 0x78};
    bool numeric = false;
    char16_t decimalPoint = u'.';
    TextCommittedEvent onTextCommitted;
    bool password = false;
    char16_t passwordChar = u'*';
    int maxLength = 0x7FFFFFFF;
    mutable std::u16string shownForAutomation;
};

}  // namespace zentri
