#include "platform/locale.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <map>

#include "platform/device_info.h"
#include "platform/text.h"

namespace platform {
namespace {

// Primary language identifiers by ISO 639-1 code.
const std::map<std::string, int>& Languages() {
    static const std::map<std::string, int> table = {
        {"ar", 0x01}, {"bg", 0x02}, {"ca", 0x03}, {"zh", 0x04}, {"cs", 0x05}, {"da", 0x06},
        {"de", 0x07}, {"el", 0x08}, {"en", 0x09}, {"es", 0x0a}, {"fi", 0x0b}, {"fr", 0x0c},
        {"he", 0x0d}, {"hu", 0x0e}, {"is", 0x0f}, {"it", 0x10}, {"ja", 0x11}, {"ko", 0x12},
        {"nl", 0x13}, {"nb", 0x14}, {"no", 0x14}, {"pl", 0x15}, {"pt", 0x16}, {"ro", 0x18},
        {"ru", 0x19}, {"hr", 0x1a}, {"sk", 0x1b}, {"sq", 0x1c}, {"sv", 0x1d}, {"th", 0x1e},
        {"tr", 0x1f}, {"id", 0x21}, {"uk", 0x22}, {"be", 0x23}, {"sl", 0x24}, {"et", 0x25},
        {"lv", 0x26}, {"lt", 0x27}, {"vi", 0x2a}, {"kk", 0x3f}, {"sr", 0x1a},
    };
    return table;
}

// Sub-languages other than the default (1) for language_TERRITORY pairs.
const std::map<std::string, int>& SubLanguages() {
    static const std::map<std::string, int> table = {
        {"en_GB", 2}, {"en_AU", 3}, {"en_CA", 4}, {"en_NZ", 5}, {"en_IE", 6}, {"en_ZA", 7},
        {"de_CH", 2}, {"de_AT", 3}, {"de_LU", 4}, {"de_LI", 5}, {"fr_BE", 2}, {"fr_CA", 3},
        {"fr_CH", 4}, {"fr_LU", 5}, {"es_MX", 2}, {"es_ES", 3}, {"it_CH", 2}, {"nl_BE", 2},
        {"pt_PT", 2}, {"sv_FI", 2}, {"zh_CN", 2}, {"zh_HK", 3}, {"zh_SG", 4}, {"ru_MD", 2},
        {"ar_IQ", 2}, {"ar_EG", 3}, {"ko_KR", 1}, {"pt_BR", 1}, {"zh_TW", 1}, {"ja_JP", 1},
    };
    return table;
}

std::string Hex4(int id) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "%04x", id & 0xFFFF);
    return buffer;
}

bool IsHexId(const std::string& text) {
    if (text.size() != 4) return false;
    for (char c : text)
        if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
    return true;
}

}  // namespace

std::string LanguageIdFromLocaleName(std::string_view localeName) {
    std::string name(localeName.substr(0, localeName.find_first_of(".@")));
    for (char& c : name)
        if (c == '-') c = '_';
    std::string language = FoldCase(name.substr(0, name.find('_')));
    auto lang = Languages().find(language);
    if (lang == Languages().end()) return "0409";
    int sub = 1;
    if (size_t underscore = name.find('_'); underscore != std::string::npos) {
        std::string territory = name.substr(underscore + 1);
        for (char& c : territory)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        auto it = SubLanguages().find(language + "_" + territory);
        if (it != SubLanguages().end()) sub = it->second;
    }
    if (language == "sr") sub = 3;  // Serbian shares Croatian's primary identifier
    return Hex4((sub << 10) | lang->second);
}

std::string UserDefaultLanguageId() {
    std::string configured = LoadDeviceInfo().locale;
    if (IsHexId(configured)) return FoldCase(configured);
    if (!configured.empty()) return LanguageIdFromLocaleName(configured);
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value && *value) return LanguageIdFromLocaleName(value);
    }
    return "0409";
}

}  // namespace platform
