#pragma once
// The text rules of the edit box, apart from drawing: moving over characters (a surrogate pair
// is one character), the masked text of a password, the numeric filter and the character
// boundary nearest to a point.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zentri::edit {

// The boundary before / after the character at `i` (clamped to the text).
size_t PrevBoundary(std::u16string_view text, size_t i);
size_t NextBoundary(std::u16string_view text, size_t i);

// `mask` once per character.
std::u16string Masked(std::u16string_view text, char16_t mask);
// Where index `i` of the text lies in its masked form, and back.
size_t MaskedIndex(std::u16string_view text, size_t i);
size_t TextIndex(std::u16string_view text, size_t maskedIndex);

// Whether a numeric entry takes `c` into `text` (the text without the part it replaces):
// digits, and the decimal point once.
bool NumericAccepts(std::u16string_view text, char16_t c, char16_t decimalPoint);

// The index whose boundary lies nearest to x, given the boundaries' x positions (element i is
// where code unit i starts, the last one the text's end); a boundary inside a surrogate pair is
// never chosen. Ties go to the earlier boundary.
size_t NearestBoundary(std::u16string_view text, const std::vector<int>& positions, int x);

}  // namespace zentri::edit
