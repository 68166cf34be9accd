#include "tools/wceload/macros.h"

#include <cctype>

#include "platform/text.h"

namespace wceload {

std::string CeFolder(int number) {
    static const char* const folders[] = {
        nullptr,
        "\\Program Files",                                  // 1
        "\\Windows",                                        // 2
        "\\Windows\\Desktop",                               // 3
        "\\Windows\\StartUp",                               // 4
        "\\My Documents",                                   // 5
        "\\Program Files\\Accessories",                     // 6
        "\\Program Files\\Communication",                   // 7
        "\\Program Files\\Games",                           // 8
        "\\Program Files\\Pocket Outlook",                  // 9
        "\\Program Files\\Office",                          // 10
        "\\Windows\\Start Menu\\Programs",                  // 11
        "\\Windows\\Start Menu\\Programs\\Accessories",     // 12
        "\\Windows\\Start Menu\\Programs\\Communications",  // 13
        "\\Windows\\Start Menu\\Programs\\Games",           // 14
        "\\Windows\\Fonts",                                 // 15
        "\\Windows\\Recent",                                // 16
        "\\Windows\\Start Menu",                            // 17
    };
    if (number < 1 || number >= static_cast<int>(std::size(folders))) return {};
    return folders[number];
}

namespace {

// The folder a macro name stands for; empty when unknown.
std::string MacroValue(const std::string& name, const std::string* installDir) {
    if (platform::EqualsNoCase(name, "InstallDir")) return installDir ? *installDir : "";
    if (name.size() > 2 && name.size() <= 4 && platform::EqualsNoCase(name.substr(0, 2), "CE") &&
        name.find_first_not_of("0123456789", 2) == std::string::npos)
        return CeFolder(platform::ParseInt(name.substr(2)));
    return {};
}

}  // namespace

bool ExpandMacros(std::string_view text, const std::string* installDir, std::string& out,
                  std::string& error) {
    out.clear();
    size_t at = 0;
    while (at < text.size()) {
        size_t open = text.find('%', at);
        if (open == std::string_view::npos) break;
        size_t end = open + 1;
        while (end < text.size() && std::isalnum(static_cast<unsigned char>(text[end])))
            ++end;
        if (end == open + 1 || end >= text.size() || text[end] != '%') {  // not a macro
            out.append(text.substr(at, open + 1 - at));
            at = open + 1;
            continue;
        }
        std::string name(text.substr(open + 1, end - open - 1));
        std::string value = MacroValue(name, installDir);
        if (value.empty() && !installDir && platform::EqualsNoCase(name, "InstallDir")) {
            error = "%InstallDir% inside the install folder itself";
            return false;
        }
        if (value.empty()) {
            error = "an unknown folder macro %" + name + "%";
            return false;
        }
        out.append(text.substr(at, open - at));
        out += value;
        at = end + 1;
    }
    out.append(text.substr(at));
    return true;
}

}  // namespace wceload
