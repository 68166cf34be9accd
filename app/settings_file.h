#pragma once
// The settings file "settings.dat": one 864-byte little-endian record holding the saved
// credentials (masked), the interface language, the device profile, the keep-CABs switch and
// the last sort order and price filter of the application lists. Strings are UTF-16 code
// units, zero-filled and terminated inside their fixed space.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "manager/device_profile.h"

namespace zentri {

struct SettingsRecord {
    static constexpr int32_t kSize = 864;

    std::u16string language;  // the language's short name
    std::u16string login;     // in clear; masked only in the file
    std::u16string password;
    DeviceProfile profile;
    std::u16string sortOrder;
    std::u16string priceFilter;
    bool keepCabs = false;
};

// The 16-bit mask combined with every unit of the login and the password. It only keeps the
// texts from being read at a glance; it is no protection.
uint16_t SettingsMask();

// The record's bytes. Strings are cut to the room of their field (9 units for the language and
// the platform code, 99 for the others) and end at their first 0 unit.
std::string EncodeSettingsRecord(const SettingsRecord& record);
// Nothing when fewer than 864 bytes are given or the size field is not 864.
std::optional<SettingsRecord> DecodeSettingsRecord(std::string_view bytes);

// Reads the record at a device path; nothing when the file is missing, short or foreign.
std::optional<SettingsRecord> ReadSettingsFile(const std::u16string& path);
// Writes the record to a temporary file renamed over the target, readable by its owner only.
// False when that failed; the previous file is then untouched.
bool WriteSettingsFile(const std::u16string& path, const SettingsRecord& record);

// "settings.dat" in the program folder.
std::u16string SettingsFilePath();

}  // namespace zentri
