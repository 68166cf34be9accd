#include "app/localization.h"

#include <pugixml.hpp>

#include "platform/locale.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace zentri {
namespace {

std::u16string Wide(const char* utf8) {
    return platform::Utf8ToUtf16(utf8);
}

}  // namespace

bool Localization::Load(const std::u16string& path) {
    languages_.clear();
    current_.clear();
    bool ok = Parse(path);
    if (!ok) return false;
    // The first language (in name order) whose identifier is the user's locale; else the
    // default, even when no language of that name was declared.
    std::u16string localeId = Wide(platform::UserDefaultLanguageId().c_str());
    for (const auto& [name, language] : languages_) {
        if (language.id == localeId) {
            current_ = name;
            return true;
        }
    }
    current_ = defaultName_;
    return true;
}

bool Localization::Parse(const std::u16string& path) {
    pugi::xml_document doc;
    std::string host = platform::HostPath(platform::Utf16ToUtf8(path)).string();
    if (!doc.load_file(host.c_str())) return false;
    pugi::xml_node root = doc.child("localization");
    pugi::xml_node languages = root.child("languages");
    pugi::xml_attribute defaultName = languages.child("default").attribute("name");
    if (!defaultName) return false;
    defaultName_ = Wide(defaultName.value());

    for (pugi::xml_node node : languages.children("language")) {
        pugi::xml_attribute id = node.attribute("id"), name = node.attribute("name"),
                            title = node.attribute("title");
        if (!id || !name || !title) return false;
        languages_.try_emplace(Wide(name.value()),
                               Language{Wide(id.value()), Wide(title.value()), {}});
    }

    pugi::xml_node strings = root.child("strings");
    if (!strings) return false;
    for (pugi::xml_node entry : strings.children()) {
        if (entry.type() != pugi::node_element) continue;
        pugi::xml_attribute id = entry.attribute("id");
        if (!id) return false;
        int32_t number = platform::ParseInt(id.value());
        for (pugi::xml_node text : entry.children()) {
            pugi::xml_attribute val = text.attribute("val");
            if (text.type() != pugi::node_element || !val) return false;
            // An undeclared language name gets an entry of its own; the first text of an id wins.
            languages_[Wide(text.name())].strings.try_emplace(number, Wide(val.value()));
        }
    }
    return true;
}

std::u16string Localization::Get(int32_t id) {
    const Language& language = languages_[current_];
    auto it = language.strings.find(id);
    if (it != language.strings.end()) return it->second;
    return u"STR_" + platform::IntToText(id);
}

bool Localization::SetLanguage(const std::u16string& name) {
    if (!languages_.count(name)) return false;
    current_ = name;
    return true;
}

}  // namespace zentri
