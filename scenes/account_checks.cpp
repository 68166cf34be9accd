#include "scenes/account_checks.h"

namespace zentri {

bool IsPlainAscii(std::u16string_view text) {
    for (char16_t c : text)
        if (c > u'~') return false;
    return true;
}

bool LooksLikeMail(std::u16string_view text) {
    const size_t at = text.rfind(u'@');
    return at != std::u16string_view::npos && text.find(u'.', at) != std::u16string_view::npos;
}

}  // namespace zentri
