#include "app/settings_file.h"

#include <array>
#include <fstream>

#include "platform/atomic_file.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace zentri {
namespace {

// Field offsets and sizes in UTF-16 units.
constexpr size_t kLanguage = 4, kShortUnits = 10;
constexpr size_t kOsver = 24;
constexpr size_t kLogin = 44, kLongUnits = 100;
constexpr size_t kPassword = 244;
constexpr size_t kWidth = 444;
constexpr size_t kHeight = 448;
constexpr size_t kFlags =
    452;  // ten bytes: phone, irda, bt, wifi, gl, cam, cam3g, accel, gps, keypad
constexpr size_t kSortOrder = 462;
constexpr size_t kPriceFilter = 662;
constexpr size_t kKeepCabs = 862;

// The mask's two bytes.
constexpr uint8_t kMaskHigh = 0x5A;
constexpr uint8_t kMaskLow = 0xC3;

void PutInt32(std::string& out, size_t offset, int32_t value) {
    auto v = static_cast<uint32_t>(value);
    for (size_t i = 0; i < 4; ++i)
        out[offset + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

int32_t GetInt32(std::string_view in, size_t offset) {
    uint32_t v = 0;
    for (size_t i = 0; i < 4; ++i)
        v |= uint32_t(static_cast<unsigned char>(in[offset + i])) << (8 * i);
    return static_cast<int32_t>(v);
}

// The text up to its first 0 unit, cut to leave room for the terminator, optionally masked.
void PutText(std::string& out, size_t offset, size_t units, std::u16string_view text,
             uint16_t mask) {
    text = text.substr(0, text.find(u'\0'));
    text = text.substr(0, units - 1);
    for (size_t i = 0; i < text.size(); ++i) {
        uint16_t unit = static_cast<uint16_t>(text[i]) ^ mask;
        out[offset + 2 * i] = static_cast<char>(unit & 0xFF);
        out[offset + 2 * i + 1] = static_cast<char>(unit >> 8);
    }
}

// The units before the first stored 0 (never beyond the field), unmasked.
std::u16string GetText(std::string_view in, size_t offset, size_t units, uint16_t mask) {
    std::u16string text;
    for (size_t i = 0; i < units; ++i) {
        auto lo = static_cast<unsigned char>(in[offset + 2 * i]);
        auto hi = static_cast<unsigned char>(in[offset + 2 * i + 1]);
        uint16_t unit = static_cast<uint16_t>(lo | (hi << 8));
        if (unit == 0) break;
        text.push_back(static_cast<char16_t>(unit ^ mask));
    }
    return text;
}

// The ten feature flags in the order of the file.
template <class Profile>
auto Flags(Profile& r) {
    return std::array{&r.phone, &r.irda,  &r.bt,    &r.wifi, &r.gl,
                      &r.cam,   &r.cam3g, &r.accel, &r.gps,  &r.keypad};
}

}  // namespace

uint16_t SettingsMask() {
    // Assembled at run time, so that the program holds no 16-bit constant to search for either.
    volatile uint8_t high = kMaskHigh;
    volatile uint8_t low = kMaskLow;
    return static_cast<uint16_t>((high << 8) | low);
}

std::string EncodeSettingsRecord(const SettingsRecord& record) {
    std::string out(SettingsRecord::kSize, '\0');
    PutInt32(out, 0, SettingsRecord::kSize);
    PutText(out, kLanguage, kShortUnits, record.language, 0);
    PutText(out, kOsver, kShortUnits, record.profile.osver, 0);
    PutText(out, kLogin, kLongUnits, record.login, SettingsMask());
    PutText(out, kPassword, kLongUnits, record.password, SettingsMask());
    PutInt32(out, kWidth, record.profile.w);
    PutInt32(out, kHeight, record.profile.h);
    auto flags = Flags(record.profile);
    for (size_t i = 0; i < flags.size(); ++i)
        out[kFlags + i] = *flags[i] ? 1 : 0;
    PutText(out, kSortOrder, kLongUnits, record.sortOrder, 0);
    PutText(out, kPriceFilter, kLongUnits, record.priceFilter, 0);
    out[kKeepCabs] = record.keepCabs ? 1 : 0;
    return out;  // the last byte stays 0 (padding)
}

std::optional<SettingsRecord> DecodeSettingsRecord(std::string_view in) {
    if (in.size() < size_t(SettingsRecord::kSize) || GetInt32(in, 0) != SettingsRecord::kSize)
        return std::nullopt;
    SettingsRecord r;
    r.language = GetText(in, kLanguage, kShortUnits, 0);
    r.profile.osver = GetText(in, kOsver, kShortUnits, 0);
    r.login = GetText(in, kLogin, kLongUnits, SettingsMask());
    r.password = GetText(in, kPassword, kLongUnits, SettingsMask());
    r.profile.w = GetInt32(in, kWidth);
    r.profile.h = GetInt32(in, kHeight);
    auto flags = Flags(r.profile);
    for (size_t i = 0; i < flags.size(); ++i)
        *flags[i] = in[kFlags + i] != 0;
    r.sortOrder = GetText(in, kSortOrder, kLongUnits, 0);
    r.priceFilter = GetText(in, kPriceFilter, kLongUnits, 0);
    r.keepCabs = in[kKeepCabs] != 0;
    return r;
}

std::optional<SettingsRecord> ReadSettingsFile(const std::u16string& path) {
    std::ifstream file(platform::HostPath(platform::Utf16ToUtf8(path)), std::ios::binary);
    if (!file) return std::nullopt;
    std::string bytes(SettingsRecord::kSize, '\0');
    file.read(bytes.data(), SettingsRecord::kSize);
    bytes.resize(static_cast<size_t>(file.gcount()));
    return DecodeSettingsRecord(bytes);
}

bool WriteSettingsFile(const std::u16string& path, const SettingsRecord& record) {
    return platform::WriteFileAtomically(platform::HostPath(platform::Utf16ToUtf8(path)),
                                         EncodeSettingsRecord(record), 0600);
}

std::u16string SettingsFilePath() {
    return platform::Utf8ToUtf16(platform::ProgramFolder() + "settings.dat");
}

}  // namespace zentri
