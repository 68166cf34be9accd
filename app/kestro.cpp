#include "app/kestro.h"

#include "app/localization.h"
#include "app/settings_file.h"

namespace zentri {
namespace {

constexpr int32_t kRootCategoryName = 6000;

}  // namespace

Kestro::Kestro() {
    DetectDeviceProfile(detectedProfile);
    profile = detectedProfile;
    // A configuration that fails before the settings were ever opened goes back to this.
    savedProfile = profile;
    rootCategory.name = Localization::Instance().Get(kRootCategoryName);
}

Category& Kestro::GetRootCategory() {
    // Renamed on every call so that a language change shows in the root's name.
    rootCategory.name = Localization::Instance().Get(kRootCategoryName);
    return rootCategory;
}

void Kestro::ClearCatalogue() {
    rootCategory.children.clear();
    tagList.clear();
}

bool Kestro::CredentialsUnchanged() const {
    return password == savedPassword && login == savedLogin;
}

void Kestro::LoadSettings(const std::u16string& path) {
    std::optional<SettingsRecord> record = ReadSettingsFile(path);
    if (!record) {
        firstStart = true;
        return;
    }
    savedLogin = record->login;
    savedPassword = record->password;
    login = savedLogin;
    password = savedPassword;
    // Takes effect only for a language the localization file declares.
    Localization::Instance().SetLanguage(record->language);

    profile = record->profile;
    savedProfile = profile;

    keepCabs = record->keepCabs;
    firstStart = false;
    sortOrder = record->sortOrder;
    priceFilter = record->priceFilter;
}

void Kestro::SaveSettings(const std::u16string& path) {
    SettingsRecord record;
    record.language = Localization::Instance().GetLanguage();
    record.profile = profile;
    // The pair the user agreed to keep, not the last typed one.
    record.login = savedLogin;
    record.password = savedPassword;
    record.sortOrder = sortOrder;
    record.priceFilter = priceFilter;
    record.keepCabs = keepCabs;
    WriteSettingsFile(path, record);  // a failure to write is silent
}

}  // namespace zentri
