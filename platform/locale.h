#pragma once
// The user's default locale as the handset reports it: the language identifier (primary
// language in bits 0-9, sub-language in bits 10-15) as four lowercase hexadecimal digits,
// e.g. "0409" for en-US and "0407" for de-DE.

#include <string>
#include <string_view>

namespace platform {

// The identifier of a POSIX locale name such as "de_DE.UTF-8" or "ru"; "0409" for "C",
// "POSIX", empty or unknown names.
std::string LanguageIdFromLocaleName(std::string_view localeName);

// device.ini's locale when set (four hex digits or a locale name), else the host's LC_ALL,
// LC_MESSAGES or LANG, the first that is set.
std::string UserDefaultLanguageId();

}  // namespace platform
