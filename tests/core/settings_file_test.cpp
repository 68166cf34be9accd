#include "app/settings_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "app/kestro.h"
#include "app/localization.h"
#include "platform/paths.h"
#include "tests/core/session_support.h"

namespace zentri {
namespace {

using test::ScopedEnv;
using test::TempDevice;

constexpr const char* kSettings = "\\Program Files\\Zentri\\settings.dat";

std::u16string Path() {
    return platform::Utf8ToUtf16(kSettings);
}

// The UTF-16LE bytes of a text, each unit combined with `mask`.
std::string Units(std::u16string_view text, uint16_t mask = 0) {
    std::string out;
    for (char16_t c : text) {
        uint16_t u = static_cast<uint16_t>(c) ^ mask;
        out += static_cast<char>(u & 0xFF);
        out += static_cast<char>(u >> 8);
    }
    return out;
}

// Expects `field` at `offset`: the given bytes, then zeros up to `size`.
void ExpectField(const std::string& record, size_t offset, size_t size, const std::string& bytes) {
    ASSERT_LE(bytes.size(), size);
    EXPECT_EQ(record.substr(offset, bytes.size()), bytes) << "field at " << offset;
    EXPECT_EQ(record.substr(offset + bytes.size(), size - bytes.size()),
              std::string(size - bytes.size(), '\0'))
        << "padding of field at " << offset;
}

SettingsRecord Sample() {
    SettingsRecord r;
    r.language = u"de";
    r.profile.osver = u"wm6sp";
    r.login = u"jo\u00e4n";  // one character outside ASCII
    r.password = u"p+/w";
    r.profile.w = 240;
    r.profile.h = 320;
    r.profile.irda = r.profile.wifi = r.profile.cam = r.profile.gps = true;
    r.sortOrder = u"views";
    r.priceFilter = u"free";
    r.keepCabs = true;
    return r;
}

TEST(SettingsRecord, HasTheFixedLittleEndianLayout) {
    std::string bytes = EncodeSettingsRecord(Sample());
    ASSERT_EQ(bytes.size(), 864u);
    EXPECT_EQ(bytes.substr(0, 4), std::string("\x60\x03\x00\x00", 4));
    uint16_t mask = SettingsMask();
    EXPECT_NE(mask, 0);
    ExpectField(bytes, 4, 20, Units(u"de"));
    ExpectField(bytes, 24, 20, Units(u"wm6sp"));
    ExpectField(bytes, 44, 200, Units(u"jo\u00e4n", mask));
    ExpectField(bytes, 244, 200, Units(u"p+/w", mask));
    EXPECT_EQ(bytes.substr(444, 8), std::string("\xF0\x00\x00\x00\x40\x01\x00\x00", 8));
    // phone, irda, bt, wifi, gl, cam, cam3g, accel, gps, keypad
    EXPECT_EQ(bytes.substr(452, 10), std::string("\0\1\0\1\0\1\0\0\1\0", 10));
    ExpectField(bytes, 462, 200, Units(u"views"));
    ExpectField(bytes, 662, 200, Units(u"free"));
    EXPECT_EQ(bytes[862], 1);
    EXPECT_EQ(bytes[863], 0);
    // The masked texts are not readable in the file.
    EXPECT_EQ(bytes.find(Units(u"jo")), std::string::npos);
}

TEST(SettingsRecord, CutsLongTextsToTheRoomOfTheirField) {
    SettingsRecord r;
    r.language = u"abcdefghijkl";
    r.profile.osver = std::u16string(30, u'w');
    r.login = std::u16string(150, u'l');
    r.priceFilter = std::u16string(99, u'p');
    std::string bytes = EncodeSettingsRecord(r);
    ExpectField(bytes, 4, 20, Units(u"abcdefghi"));  // 9 units and the terminator
    auto back = DecodeSettingsRecord(bytes);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->language, u"abcdefghi");
    EXPECT_EQ(back->profile.osver, std::u16string(9, u'w'));
    EXPECT_EQ(back->login, std::u16string(99, u'l'));
    EXPECT_EQ(back->priceFilter, std::u16string(99, u'p'));
}

TEST(SettingsRecord, EmptyAndMaskValuedTexts) {
    SettingsRecord r;
    r.password = u"ab";
    r.password += static_cast<char16_t>(SettingsMask());
    r.password += u"cd";
    std::string bytes = EncodeSettingsRecord(r);
    ExpectField(bytes, 44, 200, "");  // empty login: all zero
    EXPECT_EQ(bytes.substr(244, 10),
              Units(u"ab", SettingsMask()) + std::string(2, '\0') + Units(u"cd", SettingsMask()));
    auto back = DecodeSettingsRecord(bytes);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->login, u"");
    EXPECT_EQ(back->password, u"ab");  // the mask-valued character was stored as 0 and ends it
}

TEST(SettingsRecord, RefusesShortAndForeignRecords) {
    std::string bytes = EncodeSettingsRecord(Sample());
    EXPECT_FALSE(DecodeSettingsRecord(bytes.substr(0, 863)));
    EXPECT_FALSE(DecodeSettingsRecord(""));
    std::string foreign = bytes;
    foreign[1] = 0x04;  // size field 0x460
    EXPECT_FALSE(DecodeSettingsRecord(foreign));
    std::string bigEndian = bytes;
    bigEndian.replace(0, 4, std::string("\x00\x00\x03\x60", 4));
    EXPECT_FALSE(DecodeSettingsRecord(bigEndian));
    // A text field without its terminator is read up to the end of its own field only.
    std::string unterminated = bytes;
    unterminated.replace(4, 20, Units(u"abcdefghij"));
    EXPECT_EQ(DecodeSettingsRecord(unterminated)->language, u"abcdefghij");
}

class SettingsFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        test::LoadLocalization(device);
        test::ResetSession();
    }
    void TearDown() override { test::ResetSession(); }

    // Fills the session with values unlike the detected ones.
    void FillSession() {
        Kestro& k = Kestro::Instance();
        k.savedLogin = u"saved\u00e4";
        k.savedPassword = u"secret+/";
        k.login = u"typed";
        k.password = u"typedpass";
        k.profile = DeviceProfile{u"wm5sp", 176,   220,  true,  false, true, false,
                                  true,     false, true, false, true,  false};
        k.SetSortOrder(u"rates");
        k.SetPriceFilter(u"paid");
        k.keepCabs = true;
        ASSERT_TRUE(Localization::Instance().SetLanguage(u"de"));
    }

    TempDevice device;
    ScopedEnv locale{"LC_ALL", "en_US.UTF-8"};
};

TEST_F(SettingsFileTest, SavedSettingsComeBackAtTheNextStart) {
    FillSession();
    Kestro& k = Kestro::Instance();
    DeviceProfile written = k.profile;
    DeviceProfile detected = k.detectedProfile;
    k.SaveSettings(Path());

    test::ResetSession();
    Localization::Instance().SetLanguage(u"en");
    k.LoadSettings(Path());
    EXPECT_FALSE(k.firstStart);
    // The saved pair is what the file keeps, and it becomes the typed pair too.
    EXPECT_EQ(k.savedLogin, u"saved\u00e4");
    EXPECT_EQ(k.savedPassword, u"secret+/");
    EXPECT_EQ(k.login, u"saved\u00e4");
    EXPECT_EQ(k.password, u"secret+/");
    EXPECT_EQ(k.profile, written);
    EXPECT_EQ(k.detectedProfile, detected);
    EXPECT_EQ(k.GetSortOrder(), u"rates");
    EXPECT_EQ(k.GetPriceFilter(), u"paid");
    EXPECT_TRUE(k.keepCabs);
    EXPECT_EQ(Localization::Instance().GetLanguage(), u"de");
}

TEST_F(SettingsFileTest, MissingShortOrForeignFilesAreAFirstStartThatChangesNothing) {
    Kestro& k = Kestro::Instance();
    k.LoadSettings(Path());  // no file
    EXPECT_TRUE(k.firstStart);

    std::string valid = EncodeSettingsRecord(Sample());  // language "de", profile wm6sp...
    std::string foreign = valid;
    foreign[0] = 0x61;
    for (const std::string& content : {valid.substr(0, 500), foreign, std::string()}) {
        test::ResetSession();
        device.WriteFile(kSettings, content);
        k.LoadSettings(Path());
        EXPECT_TRUE(k.firstStart);
        EXPECT_EQ(Localization::Instance().GetLanguage(), u"en");
        EXPECT_EQ(k.profile, k.detectedProfile);
        EXPECT_EQ(k.savedPassword, u"");
        EXPECT_EQ(k.login, u"");
        EXPECT_EQ(k.GetSortOrder(), u"createtime");
        EXPECT_FALSE(k.keepCabs);
    }
}

TEST_F(SettingsFileTest, AnUnknownSavedLanguageKeepsTheCurrentOne) {
    SettingsRecord r = Sample();
    r.language = u"fr";
    device.WriteFile(kSettings, EncodeSettingsRecord(r));
    Kestro::Instance().LoadSettings(Path());
    EXPECT_FALSE(Kestro::Instance().firstStart);
    EXPECT_EQ(Localization::Instance().GetLanguage(), u"en");
    EXPECT_EQ(Kestro::Instance().profile.osver, u"wm6sp");  // the rest still applies
}

TEST_F(SettingsFileTest, TheFileIsReadableByItsOwnerOnlyAndReplacedWhole) {
    device.WriteFile(kSettings, std::string(2000, 'x'));  // an older, longer file
    std::filesystem::permissions(platform::HostPath(kSettings), std::filesystem::perms(0644));
    FillSession();
    Kestro::Instance().SaveSettings(Path());

    std::filesystem::path host = platform::HostPath(kSettings);
    struct stat info {};
    ASSERT_EQ(stat(host.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_EQ(device.ReadFile(kSettings).size(), 864u);
    // Nothing but the file itself is left in the folder.
    int entries = 0;
    for (auto& e : std::filesystem::directory_iterator(host.parent_path()))
        entries += e.path().filename() != "localization.xml";
    EXPECT_EQ(entries, 1);
}

TEST_F(SettingsFileTest, AFailedWriteIsSilentAndLeavesNoPartialFile) {
    FillSession();
    // The target name is taken by a folder: the new record cannot be put in place.
    std::filesystem::path host = platform::HostPath(kSettings);
    std::filesystem::create_directories(host / "inside");
    Kestro::Instance().SaveSettings(Path());
    EXPECT_TRUE(std::filesystem::is_directory(host / "inside"));
    for (auto& e : std::filesystem::directory_iterator(host.parent_path()))
        EXPECT_TRUE(e.path() == host || e.path().filename() == "localization.xml") << e.path();

    // A program folder that is a file: nothing can be created below it.
    device.WriteFile("\\Blocked", "a file");
    Kestro::Instance().SaveSettings(u"\\Blocked\\settings.dat");
    EXPECT_EQ(device.ReadFile("\\Blocked"), "a file");
}

}  // namespace
}  // namespace zentri
