#include "scenes/review_text.h"

#include <algorithm>

namespace zentri {

namespace {

constexpr std::u16string_view kBreakMark = u"--br--";

}  // namespace

std::u16string ReviewTextForSending(std::u16string_view typed) {
    std::u16string sent;
    sent.reserve(typed.size());
    for (size_t i = 0; i < typed.size(); ++i) {
        const char16_t c = typed[i];
        if (c == u'\r') {
            if (i + 1 < typed.size() && typed[i + 1] == u'\n') ++i;
            sent += kBreakMark;
        } else if (c == u'\n') {
            sent += kBreakMark;
        } else {
            sent += c;
        }
    }
    return sent;
}

std::u16string ReviewTextForShowing(std::u16string text) {
    std::u16string shown;
    shown.reserve(text.size());
    size_t from = 0;
    for (size_t at = text.find(kBreakMark); at != std::u16string::npos;
         at = text.find(kBreakMark, from)) {
        shown.append(text, from, at - from);
        shown += u'\n';
        from = at + kBreakMark.size();
    }
    shown.append(text, from, std::u16string::npos);
    return shown;
}

int32_t WholeStars(int32_t halfStars) {
    return std::max<int32_t>(halfStars, 0) / 2;
}

}  // namespace zentri
