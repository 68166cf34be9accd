#pragma once
// Every visible text, and the service's base address, by numeric id from localization.xml in
// the program folder, in the current language. Ids without a text answer "STR_<id>".

#include <cstdint>
#include <map>
#include <string>

#include "ui/singleton.h"

namespace zentri {

class Localization : public Singleton<Localization> {
  public:
    struct Language {
        std::u16string id;  // the platform's language identifier, four hex digits
        std::u16string title;
        std::map<int32_t, std::u16string> strings;
    };

    // Reads the file at a device path, replacing what was loaded before. On a malformed file
    // returns false and keeps what was read up to the fault.
    bool Load(const std::u16string& path);

    std::u16string Get(int32_t id);
    // Makes a declared language current; false (and no change) for an unknown name.
    bool SetLanguage(const std::u16string& name);
    std::u16string GetLanguage() const { return current_; }
    // By name, ascending by UTF-16 code unit: the order of the language lists.
    const std::map<std::u16string, Language>& Languages() const { return languages_; }

  private:
    friend class Singleton<Localization>;
    Localization() = default;

    bool Parse(const std::u16string& path);

    std::map<std::u16string, Language> languages_;
    std::u16string current_;
    std::u16string defaultName_;
};

}  // namespace zentri
