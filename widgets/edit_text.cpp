#include "widgets/edit_text.h"

#include <cstdlib>

namespace zentri::edit {
namespace {

bool IsLow(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}
bool IsHigh(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
// Index i splits a surrogate pair.
bool InsidePair(std::u16string_view text, size_t i) {
    return i > 0 && i < text.size() && IsHigh(text[i - 1]) && IsLow(text[i]);
}

}  // namespace

size_t PrevBoundary(std::u16string_view text, size_t i) {
    if (i > text.size()) i = text.size();
    if (i == 0) return 0;
    --i;
    return InsidePair(text, i) ? i - 1 : i;
}

size_t NextBoundary(std::u16string_view text, size_t i) {
    if (i >= text.size()) return text.size();
    ++i;
    return InsidePair(text, i) ? i + 1 : i;
}

std::u16string Masked(std::u16string_view text, char16_t mask) {
    return std::u16string(MaskedIndex(text, text.size()), mask);
}

size_t MaskedIndex(std::u16string_view text, size_t i) {
    size_t n = 0;
    for (size_t at = 0; at < i && at < text.size(); at = NextBoundary(text, at))
        ++n;
    return n;
}

size_t TextIndex(std::u16string_view text, size_t maskedIndex) {
    size_t at = 0;
    for (size_t n = 0; n < maskedIndex && at < text.size(); ++n)
        at = NextBoundary(text, at);
    return at;
}

bool NumericAccepts(std::u16string_view text, char16_t c, char16_t decimalPoint) {
    if (c >= u'0' && c <= u'9') return true;
    return c == decimalPoint && text.find(decimalPoint) == std::u16string_view::npos;
}

size_t NearestBoundary(std::u16string_view text, const std::vector<int>& positions, int x) {
    size_t best = 0;
    long bestDistance = -1;
    for (size_t i = 0; i < positions.size() && i <= text.size(); ++i) {
        if (InsidePair(text, i)) continue;
        long d = std::labs(static_cast<long>(positions[i]) - x);
        if (bestDistance < 0 || d < bestDistance) {
            best = i;
            bestDistance = d;
        }
    }
    return best;
}

}  // namespace zentri::edit
