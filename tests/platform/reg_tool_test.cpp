#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/registry.h"
#include "tests/support/temp_device.h"
#include "tools/reg/reg_command.h"

namespace regtool {
namespace {

using zentri::test::TempDevice;

struct Result {
    int code;
    std::string out, err;
};

Result Reg(std::vector<std::string> args, const std::string& input = "") {
    std::ostringstream out, err;
    std::istringstream in(input);
    int code = Run(args, out, err, in);
    return {code, out.str(), err.str()};
}

TEST(RegTool, AddThenQueryValuesOfEveryType) {
    TempDevice device;
    EXPECT_EQ(Reg({"add", "HKLM\\Software\\Zentri", "/v", "ZentriRevision", "/t", "REG_DWORD", "/d",
                   "12"})
                  .code,
              0);
    EXPECT_EQ(
        Reg({"add", "HKEY_LOCAL_MACHINE\\Software\\Zentri", "/v", "Name", "/d", "Zentri client"})
            .code,
        0);
    EXPECT_EQ(
        Reg({"ADD", "hklm\\Software\\Zentri", "-v", "Blob", "-t", "reg_binary", "-d", "00ff10"})
            .code,
        0);

    Result r = Reg({"query", "HKLM\\software\\zentri", "/v", "zentrirevision"});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out,
              "\nHKEY_LOCAL_MACHINE\\Software\\Zentri\n    ZentriRevision    REG_DWORD    0xc\n\n");

    r = Reg({"query", "HKLM\\Software\\Zentri"});
    EXPECT_EQ(r.out,
              "\nHKEY_LOCAL_MACHINE\\Software\\Zentri\n"
              "    ZentriRevision    REG_DWORD    0xc\n"
              "    Name    REG_SZ    Zentri client\n"
              "    Blob    REG_BINARY    00FF10\n\n");
    r = Reg({"query", "HKLM\\Software"});
    EXPECT_EQ(r.out, "\nHKEY_LOCAL_MACHINE\\Software\n\nHKEY_LOCAL_MACHINE\\Software\\Zentri\n");
}

TEST(RegTool, NotFoundAnswersOne) {
    TempDevice device;
    Result r = Reg({"query", "HKLM\\Nothing\\Here"});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("unable to find"), std::string::npos);
    EXPECT_EQ(Reg({"add", "HKLM\\Software\\Zentri"}).code, 0);
    EXPECT_EQ(Reg({"query", "HKLM\\Software\\Zentri", "/v", "Missing"}).code, 1);
    EXPECT_EQ(Reg({"delete", "HKLM\\Software\\Zentri", "/v", "Missing", "/f"}).code, 1);
    EXPECT_EQ(Reg({"delete", "HKLM\\Nothing", "/f"}).code, 1);
}

TEST(RegTool, ADamagedRegistryAnswersThreeNotNotFound) {
    TempDevice device;
    std::filesystem::create_directories(device.Root());
    std::ofstream(platform::RegistryFile(), std::ios::binary) << std::string(8192, 'Z');
    for (auto args : std::vector<std::vector<std::string>>{
             {"query", "HKLM\\Software"},
             {"add", "HKLM\\Software\\Zentri", "/v", "x", "/d", "1"},
             {"delete", "HKLM\\Software", "/f"}}) {
        Result r = Reg(args);
        EXPECT_EQ(r.code, 3) << args[0];
        EXPECT_NE(r.err.find("registry.sqlite3"), std::string::npos) << r.err;
    }
}

TEST(RegTool, BadInputIsRefusedClearlyAndChangesNothing) {
    TempDevice device;
    struct Case {
        std::vector<std::string> args;
        const char* message;
    } cases[] = {
        {{}, "Invalid syntax"},
        {{"copy", "HKLM\\A"}, "Invalid operation"},
        {{"query"}, "key is missing"},
        {{"query", "HKCU\\Software"}, "only HKLM"},
        {{"add", "HKLM\\A", "/v"}, "needs a value name"},
        {{"add", "HKLM\\A", "/v", "n", "/t", "REG_DWORD", "/d", "12x"},
         "Invalid value for REG_DWORD"},
        {{"add", "HKLM\\A", "/v", "n", "/t", "REG_DWORD", "/d", "4294967296"},
         "Invalid value for REG_DWORD"},
        {{"add", "HKLM\\A", "/v", "n", "/t", "REG_DWORD", "/d", "-1"},
         "Invalid value for REG_DWORD"},
        {{"add", "HKLM\\A", "/v", "n", "/t", "REG_BINARY", "/d", "abc"}, "even number"},
        {{"add", "HKLM\\A", "/v", "n", "/t", "REG_MULTI_SZ"}, "Invalid type"},
        {{"add", "HKLM\\A", "/d", "x"}, "need /v"},
        {{"query", "HKLM\\A", "/f"}, "unknown switch"},
    };
    for (const auto& c : cases) {
        Result r = Reg(c.args);
        EXPECT_EQ(r.code, 2) << c.message;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    }
    platform::RegKey key;
    EXPECT_EQ(platform::RegKey::Open("\\A", key), platform::RegResult::NotFound);
}

TEST(RegTool, OverwriteAndDeleteAskUnlessForced) {
    TempDevice device;
    ASSERT_EQ(Reg({"add", "HKLM\\A", "/v", "n", "/t", "REG_DWORD", "/d", "1"}).code, 0);
    Result declined = Reg({"add", "HKLM\\A", "/v", "n", "/t", "REG_DWORD", "/d", "2"}, "no\n");
    EXPECT_EQ(declined.code, 1);
    EXPECT_NE(declined.out.find("overwrite"), std::string::npos);
    EXPECT_EQ(Reg({"add", "HKLM\\A", "/v", "n", "/t", "REG_DWORD", "/d", "0x20"}, "yes\n").code, 0);
    EXPECT_NE(Reg({"query", "HKLM\\A", "/v", "n"}).out.find("0x20"), std::string::npos);
    EXPECT_EQ(Reg({"add", "HKLM\\A", "/v", "n", "/t", "REG_DWORD", "/d", "3", "/f"}).code, 0);

    EXPECT_EQ(Reg({"add", "HKLM\\A\\B", "/ve", "/d", "default"}).code, 0);
    EXPECT_EQ(Reg({"delete", "HKLM\\A"}, "").code, 1);  // no answer: nothing deleted
    EXPECT_EQ(Reg({"query", "HKLM\\A\\B", "/ve"}).code, 0);
    EXPECT_EQ(Reg({"delete", "HKLM\\A", "/v", "n", "/f"}).code, 0);
    EXPECT_EQ(Reg({"delete", "HKLM\\A"}, "y\n").code, 0);
    EXPECT_EQ(Reg({"query", "HKLM\\A\\B"}).code, 1);
}

}  // namespace
}  // namespace regtool
