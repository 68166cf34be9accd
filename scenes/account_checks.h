#pragma once
// The checks the account scenes make before they send anything.

#include <string_view>

namespace zentri {

// Only ASCII up to '~' is allowed in logins and mail addresses.
bool IsPlainAscii(std::u16string_view text);
// A mail address has a dot after its last at-sign.
bool LooksLikeMail(std::u16string_view text);

}  // namespace zentri
