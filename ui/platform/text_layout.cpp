#include "ui/platform/text_layout.h"

#include <algorithm>

namespace zentri {
namespace {

bool IsSpace(char16_t c) {
    return c == u' ';
}

// Cumulative widths of a range: prefix[k] is the width of [begin, begin + k).
class Widths {
  public:
    Widths(Font::Glyphs& glyphs, std::u16string_view text, size_t begin, size_t end)
        : begin_(begin), prefix_(end - begin + 1, 0) {
        for (size_t i = begin; i < end;) {
            size_t at = i;
            int w = glyphs.Advance(NextCodePoint(text, i));
            i = std::min(i, end);
            for (size_t k = at + 1; k < i; ++k)  // inside a surrogate pair
                prefix_[k - begin] = prefix_[at - begin];
            prefix_[i - begin] = prefix_[at - begin] + w;
        }
    }
    int Of(size_t end) const { return prefix_[end - begin_]; }

  private:
    size_t begin_;
    std::vector<int> prefix_;
};

bool IsLowSurrogate(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

// Shortens a line so that its text plus "…" fits maxWidth. With `atWord`, the cut is after a
// whole word when one fits; otherwise (or when none does) after the last character that fits.
void Ellipsize(Font::Glyphs& glyphs, std::u16string_view text, TextLine& line, int maxWidth,
               bool atWord, bool force) {
    Widths widths(glyphs, text, line.begin, line.end);
    if (!force && widths.Of(line.end) <= maxWidth) return;
    int room = maxWidth - glyphs.Advance(kEllipsis);
    size_t cut = line.begin;
    bool found = false;
    if (atWord) {
        for (size_t k = line.begin + 1; k <= line.end; ++k) {
            bool wordEnd = !IsSpace(text[k - 1]) && (k == line.end || IsSpace(text[k]));
            if (wordEnd && (k < line.end || force) && widths.Of(k) <= room) {
                cut = k;
                found = true;
            }
        }
    }
    if (!found) {
        for (size_t k = line.begin + 1; k <= line.end; ++k)
            if ((k == line.end || !IsLowSurrogate(text[k])) && widths.Of(k) <= room) cut = k;
    }
    while (cut > line.begin && IsSpace(text[cut - 1]))
        --cut;
    line.end = cut;
    line.ellipsis = true;
    line.width = widths.Of(cut) + glyphs.Advance(kEllipsis);
}

// Greedy word wrap of one paragraph [begin, end) into lines no wider than maxWidth where the
// words allow; spaces at a break belong to neither line.
void WrapParagraph(Font::Glyphs& glyphs, std::u16string_view text, size_t begin, size_t end,
                   int maxWidth, std::vector<TextLine>& out) {
    size_t start = begin;
    while (true) {
        int width = 0, widthAtBreak = 0;
        size_t pos = start, breakEnd = std::u16string_view::npos, breakNext = 0;
        bool broke = false;
        while (pos < end) {
            size_t next = pos;
            char32_t c = NextCodePoint(text, next);
            int advance = glyphs.Advance(c);
            if (IsSpace(text[pos])) {
                if (pos > start && !IsSpace(text[pos - 1])) {
                    breakEnd = pos;
                    widthAtBreak = width;
                }
                width += advance;
                pos = breakNext = next;
                continue;
            }
            if (width + advance > maxWidth && pos > start) {
                if (breakEnd != std::u16string_view::npos) {
                    out.push_back({start, breakEnd, false, widthAtBreak});
                    start = breakNext;
                } else {  // one word wider than the box: split it
                    out.push_back({start, pos, false, width});
                    start = pos;
                }
                broke = true;
                break;
            }
            width += advance;
            pos = next;
        }
        if (!broke) {
            out.push_back({start, end, false, width});
            return;
        }
        while (start < end && IsSpace(text[start]))
            ++start;
        if (start >= end) return;
    }
}

}  // namespace

char32_t NextCodePoint(std::u16string_view text, size_t& i) {
    char16_t c = text[i++];
    if (c < 0xD800 || c > 0xDFFF) return c;
    if (c <= 0xDBFF && i < text.size() && IsLowSurrogate(text[i])) {
        char32_t low = text[i++];
        return 0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) + (low - 0xDC00);
    }
    return 0xFFFD;
}

int TextWidth(Font::Glyphs& glyphs, std::u16string_view text) {
    int width = 0;
    for (size_t i = 0; i < text.size();)
        width += glyphs.Advance(NextCodePoint(text, i));
    return width;
}

std::vector<int> CharacterPositions(Font::Glyphs& glyphs, std::u16string_view text) {
    std::vector<int> x(text.size() + 1, 0);
    for (size_t i = 0; i < text.size();) {
        size_t at = i;
        int w = glyphs.Advance(NextCodePoint(text, i));
        for (size_t k = at + 1; k < i; ++k)
            x[k] = x[at];
        x[i] = x[at] + w;
    }
    return x;
}

TextLayout LayoutText(Font::Glyphs& glyphs, int lineHeight, std::u16string_view text, int boxWidth,
                      int boxHeight, uint32_t format) {
    using namespace TextFormat;
    TextLayout layout;
    bool single = format & SingleLine, wrap = (format & WordBreak) && !single;

    // Paragraphs end at "\r\n", "\n" or "\r" unless the text is a single line.
    for (size_t begin = 0;;) {
        size_t end = single ? text.size() : text.find_first_of(u"\r\n", begin);
        if (end == std::u16string_view::npos) end = text.size();
        if (wrap)
            WrapParagraph(glyphs, text, begin, end, boxWidth, layout.lines);
        else
            layout.lines.push_back(
                {begin, end, false, TextWidth(glyphs, text.substr(begin, end - begin))});
        if (end >= text.size()) break;
        begin =
            end + (text[end] == u'\r' && end + 1 < text.size() && text[end + 1] == u'\n' ? 2 : 1);
    }

    bool ellipsis = format & (EndEllipsis | WordEllipsis);
    bool atWord = format & WordEllipsis;
    if (ellipsis) {
        // Lines that cannot all be shown end the text with an ellipsis on the last that can.
        if (wrap && !(format & CalcRect) && lineHeight > 0 &&
            static_cast<int64_t>(layout.lines.size()) * lineHeight > boxHeight &&
            layout.lines.size() > 1) {
            size_t keep = static_cast<size_t>(std::max(1, boxHeight / lineHeight));
            if (keep < layout.lines.size()) {
                layout.lines.resize(keep);
                Ellipsize(glyphs, text, layout.lines.back(), boxWidth, atWord, true);
            }
        }
        for (TextLine& line : layout.lines)
            if (!line.ellipsis && line.width > boxWidth)
                Ellipsize(glyphs, text, line, boxWidth, atWord, false);
    }

    for (const TextLine& line : layout.lines)
        layout.width = std::max(layout.width, line.width);
    layout.height = static_cast<int>(layout.lines.size()) * lineHeight;
    return layout;
}

}  // namespace zentri
