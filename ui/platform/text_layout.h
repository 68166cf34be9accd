#pragma once
// Text layout in the manner of the platform's DrawText: lines from explicit line breaks, word
// breaking, alignment in a rectangle, end and word ellipsis. Pure functions of the text, the
// font's advances and the box; drawing is TextContext's.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "ui/platform/font.h"

namespace zentri {

// Format flags of TextContext::DrawText (combine with |). "&" has no special meaning.
namespace TextFormat {
inline constexpr uint32_t Left = 0x0;
inline constexpr uint32_t Center = 0x1;
inline constexpr uint32_t Right = 0x2;
inline constexpr uint32_t Top = 0x0;
inline constexpr uint32_t VCenter = 0x4;  // the block of lines, not only a single line
inline constexpr uint32_t Bottom = 0x8;
inline constexpr uint32_t WordBreak = 0x10;   // wrap at spaces; a longer word is split
inline constexpr uint32_t SingleLine = 0x20;  // line breaks are not honoured
inline constexpr uint32_t NoClip = 0x100;     // may draw outside the rectangle (not the clip)
inline constexpr uint32_t CalcRect = 0x400;   // measure only: the rectangle gets the text's size
// A line wider than the box ends in "…"; with WordBreak, so does the last line that fits in
// the box's height when more text follows (and the lines after it are dropped).
inline constexpr uint32_t EndEllipsis = 0x8000;
inline constexpr uint32_t WordEllipsis = 0x40000;  // as EndEllipsis, cut at a word boundary
}  // namespace TextFormat

// The ellipsis appended to shortened lines.
inline constexpr char32_t kEllipsis = U'\u2026';

struct TextLine {
    size_t begin = 0;  // UTF-16 code units of the text shown on the line
    size_t end = 0;
    bool ellipsis = false;  // "…" follows them
    int width = 0;          // pixels, the ellipsis included
};

struct TextLayout {
    std::vector<TextLine> lines;
    int width = 0;   // the widest line
    int height = 0;  // lines x line height
};

// The next code point of UTF-16 text at `i`, advancing `i`; a lone surrogate reads U+FFFD.
char32_t NextCodePoint(std::u16string_view text, size_t& i);

// Lines of `text` for a box of boxWidth x boxHeight with the given format flags (alignment
// flags do not change the lines).
TextLayout LayoutText(Font::Glyphs& glyphs, int lineHeight, std::u16string_view text, int boxWidth,
                      int boxHeight, uint32_t format);

// The width of the text as one line.
int TextWidth(Font::Glyphs& glyphs, std::u16string_view text);

// x of every character boundary: element i is where code unit i starts (the second unit of a
// surrogate pair shares its pair's start), element text.size() is the whole width.
std::vector<int> CharacterPositions(Font::Glyphs& glyphs, std::u16string_view text);

}  // namespace zentri
