#include "platform/registry.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <set>

#include "platform/process.h"
#include "tests/support/temp_device.h"

namespace platform {
namespace {

using zentri::test::TempDevice;

TEST(Registry, KeysAndValuesCompareCaseInsensitivelyAndKeepTheirSpelling) {
    TempDevice device;
    RegKey key;
    ASSERT_EQ(RegKey::Create("\\Security\\AppInstall\\Acme Tool", key), RegResult::Ok);
    EXPECT_EQ(key.Path(), "\\Security\\AppInstall\\Acme Tool");
    ASSERT_EQ(key.SetDword("ZentriRevision", 7), RegResult::Ok);

    RegKey same;
    ASSERT_EQ(RegKey::Open("security\\APPINSTALL\\acme tool\\", same), RegResult::Ok);
    uint32_t revision = 0;
    ASSERT_EQ(same.QueryDword("zentrirevision", revision), RegResult::Ok);
    EXPECT_EQ(revision, 7u);

    RegKey parent;
    ASSERT_EQ(RegKey::Open("\\SECURITY\\AppInstall", parent), RegResult::Ok);
    std::string name;
    ASSERT_EQ(parent.EnumKey(0, name), RegResult::Ok);
    EXPECT_EQ(name, "Acme Tool");
    RegValue value;
    ASSERT_EQ(same.EnumValue(0, value), RegResult::Ok);
    EXPECT_EQ(value.name, "ZentriRevision");

    // Creating it again under another spelling opens the same key.
    RegKey again;
    ASSERT_EQ(RegKey::Create("\\security\\appinstall\\ACME TOOL", again), RegResult::Ok);
    EXPECT_EQ(parent.EnumKey(1, name), RegResult::NotFound);
}

TEST(Registry, ValuesKeepTheirTypes) {
    TempDevice device;
    RegKey key;
    ASSERT_EQ(RegKey::Create("\\Software\\Zentri", key), RegResult::Ok);
    ASSERT_EQ(key.SetDword("Number", 0xFFFFFFFFu), RegResult::Ok);
    ASSERT_EQ(key.SetString("Text", "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82"),
              RegResult::Ok);
    ASSERT_EQ(key.SetBinary("Blob", {0, 1, 2, 255}), RegResult::Ok);
    ASSERT_EQ(key.SetString("Empty", ""), RegResult::Ok);

    RegValue v;
    ASSERT_EQ(key.Query("Number", v), RegResult::Ok);
    EXPECT_EQ(v.type, RegType::Dword);
    EXPECT_EQ(v.number, 0xFFFFFFFFu);
    ASSERT_EQ(key.Query("Blob", v), RegResult::Ok);
    EXPECT_EQ(v.type, RegType::Binary);
    EXPECT_EQ(v.bytes, (std::vector<uint8_t>{0, 1, 2, 255}));
    std::string text;
    ASSERT_EQ(key.QueryString("Text", text), RegResult::Ok);
    EXPECT_EQ(text, "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82");
    ASSERT_EQ(key.QueryString("Empty", text), RegResult::Ok);
    EXPECT_EQ(text, "");

    // Typed queries refuse a value of another type.
    uint32_t number = 5;
    EXPECT_EQ(key.QueryDword("Text", number), RegResult::NotFound);
    EXPECT_EQ(number, 5u);
    EXPECT_EQ(key.QueryString("Number", text), RegResult::NotFound);

    // Overwriting changes type and data but keeps the value's place in the enumeration.
    ASSERT_EQ(key.SetString("Number", "now text"), RegResult::Ok);
    ASSERT_EQ(key.EnumValue(0, v), RegResult::Ok);
    EXPECT_EQ(v.name, "Number");
    EXPECT_EQ(v.type, RegType::String);
    EXPECT_EQ(v.text, "now text");
}

TEST(Registry, EnumerationFollowsCreationOrder) {
    TempDevice device;
    RegKey root;
    for (const char* name : {"Zeta", "alpha", "Mid", "Beta"}) {
        RegKey k;
        ASSERT_EQ(RegKey::Create(std::string("\\Security\\AppInstall\\") + name, k), RegResult::Ok);
        ASSERT_EQ(k.SetDword("b", 1), RegResult::Ok);
        ASSERT_EQ(k.SetDword("A", 2), RegResult::Ok);
    }
    ASSERT_EQ(RegKey::Open("\\Security\\AppInstall", root), RegResult::Ok);
    std::vector<std::string> names;
    std::string name;
    for (uint32_t i = 0; root.EnumKey(i, name) == RegResult::Ok; ++i)
        names.push_back(name);
    EXPECT_EQ(names, (std::vector<std::string>{"Zeta", "alpha", "Mid", "Beta"}));

    RegKey mid;
    ASSERT_EQ(RegKey::Open("\\Security\\AppInstall\\Mid", mid), RegResult::Ok);
    RegValue v;
    ASSERT_EQ(mid.EnumValue(0, v), RegResult::Ok);
    EXPECT_EQ(v.name, "b");
    ASSERT_EQ(mid.EnumValue(1, v), RegResult::Ok);
    EXPECT_EQ(v.name, "A");
    EXPECT_EQ(mid.EnumValue(2, v), RegResult::NotFound);
}

TEST(Registry, CreateTellsHowManyKeysItMadeAndSetValuesWritesAllOrNone) {
    TempDevice device;
    RegKey key;
    size_t created = 9;
    ASSERT_EQ(RegKey::Create("\\Software\\Acme\\Tool", key, &created), RegResult::Ok);
    EXPECT_EQ(created, 3u);
    ASSERT_EQ(RegKey::Create("\\SOFTWARE\\acme\\Tool\\Sub\\Deeper", key, &created), RegResult::Ok);
    EXPECT_EQ(created, 2u);
    EXPECT_EQ(key.Path(), "\\Software\\Acme\\Tool\\Sub\\Deeper");
    ASSERT_EQ(RegKey::Create("\\Software\\Acme", key, &created), RegResult::Ok);
    EXPECT_EQ(created, 0u);

    std::vector<RegValue> values(3);
    for (size_t i = 0; i < values.size(); ++i)
        values[i].name = "v" + std::to_string(i), values[i].text = std::to_string(i);
    ASSERT_EQ(key.SetValues(values), RegResult::Ok);
    RegValue v;
    ASSERT_EQ(key.EnumValue(2, v), RegResult::Ok);
    EXPECT_EQ(v.name, "v2");
    EXPECT_EQ(v.text, "2");
    // On a deleted key none is written, and nothing comes back.
    ASSERT_EQ(RegKey::DeleteKey("\\Software\\Acme"), RegResult::Ok);
    EXPECT_EQ(key.SetValues(values), RegResult::NotFound);
    EXPECT_EQ(RegKey::Open("\\Software\\Acme", key), RegResult::NotFound);
}

TEST(Registry, EnumerationByIndexStaysExactWhenTheKeyChangesBetweenSteps) {
    TempDevice device;
    RegKey key;
    ASSERT_EQ(RegKey::Create("\\Software\\List", key), RegResult::Ok);
    for (const char* name : {"a", "b", "c", "d", "e"})
        ASSERT_EQ(key.SetDword(name, 1), RegResult::Ok);
    RegValue v;
    ASSERT_EQ(key.EnumValue(0, v), RegResult::Ok);
    ASSERT_EQ(key.EnumValue(1, v), RegResult::Ok);
    EXPECT_EQ(v.name, "b");
    // Removed by this process: index 2 is now "d".
    ASSERT_EQ(key.DeleteValue("a"), RegResult::Ok);
    ASSERT_EQ(key.EnumValue(2, v), RegResult::Ok);
    EXPECT_EQ(v.name, "d");
    // Removed by another process: index 3 is past the end now.
    ASSERT_EQ(
        Process::StartHost({ZENTRI_REG_PROGRAM, "delete", "HKLM\\Software\\List", "/v", "b", "/f"})
            ->Wait(),
        0);
    EXPECT_EQ(key.EnumValue(3, v), RegResult::NotFound);
    // Asked out of turn, and in turn again.
    ASSERT_EQ(key.EnumValue(1, v), RegResult::Ok);
    EXPECT_EQ(v.name, "d");
    ASSERT_EQ(key.EnumValue(2, v), RegResult::Ok);
    EXPECT_EQ(v.name, "e");
}

TEST(Registry, ADatabaseOfTheFirstSchemaIsMigratedOnOpen) {
    TempDevice device;
    {
        // As the first version made it: the tables without their indexes, no schema version.
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(RegistryFile().c_str(), &db), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(db,
                               "PRAGMA journal_mode=WAL;"
                               "CREATE TABLE keys(id INTEGER PRIMARY KEY AUTOINCREMENT,"
                               " parent INTEGER NOT NULL, name TEXT NOT NULL, folded TEXT NOT NULL,"
                               " UNIQUE(parent, folded));"
                               "CREATE TABLE vals(seq INTEGER PRIMARY KEY AUTOINCREMENT,"
                               " key INTEGER NOT NULL, name TEXT NOT NULL, folded TEXT NOT NULL,"
                               " type INTEGER NOT NULL, data BLOB, UNIQUE(key, folded));"
                               "INSERT INTO keys VALUES(1, 0, 'Software', 'software');"
                               "INSERT INTO keys VALUES(2, 1, 'Zeta', 'zeta');"
                               "INSERT INTO keys VALUES(3, 1, 'Alpha', 'alpha');"
                               "INSERT INTO vals VALUES(1, 3, 'Rev', 'rev', 4, x'07000000');",
                               nullptr, nullptr, nullptr),
                  SQLITE_OK);
        sqlite3_close(db);
    }
    RegKey software, alpha;
    ASSERT_EQ(RegKey::Open("\\SOFTWARE", software), RegResult::Ok);
    std::string name;
    ASSERT_EQ(software.EnumKey(0, name), RegResult::Ok);
    EXPECT_EQ(name, "Zeta");
    ASSERT_EQ(software.EnumKey(1, name), RegResult::Ok);
    EXPECT_EQ(name, "Alpha");
    ASSERT_EQ(RegKey::Create("\\Software\\alpha", alpha), RegResult::Ok);
    uint32_t revision = 0;
    ASSERT_EQ(alpha.QueryDword("REV", revision), RegResult::Ok);
    EXPECT_EQ(revision, 7u);

    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(RegistryFile().c_str(), &db), SQLITE_OK);
    auto count = [db](const char* sql) {
        sqlite3_stmt* s = nullptr;
        int n = -1;
        if (sqlite3_prepare_v2(db, sql, -1, &s, nullptr) == SQLITE_OK &&
            sqlite3_step(s) == SQLITE_ROW)
            n = sqlite3_column_int(s, 0);
        sqlite3_finalize(s);
        return n;
    };
    EXPECT_EQ(count("PRAGMA user_version"), 1);
    EXPECT_EQ(count("SELECT count(*) FROM sqlite_master WHERE type='index' AND name IN "
                    "('keys_by_parent', 'vals_by_key')"),
              2);
    sqlite3_close(db);
}

TEST(Registry, DeletingValuesAndWholeSubtrees) {
    TempDevice device;
    RegKey key, sub, other;
    ASSERT_EQ(RegKey::Create("\\Security\\AppInstall\\Tool", key), RegResult::Ok);
    ASSERT_EQ(RegKey::Create("\\Security\\AppInstall\\Tool\\ExecutableFiles", sub), RegResult::Ok);
    ASSERT_EQ(RegKey::Create("\\Security\\AppInstall\\Other", other), RegResult::Ok);
    ASSERT_EQ(sub.SetString("\\Program Files\\Tool\\tool.exe", ""), RegResult::Ok);
    ASSERT_EQ(key.SetDword("ZentriRevision", 3), RegResult::Ok);

    EXPECT_EQ(key.DeleteValue("zentrirevision"), RegResult::Ok);
    EXPECT_EQ(key.DeleteValue("ZentriRevision"), RegResult::NotFound);

    EXPECT_EQ(RegKey::DeleteKey("\\security\\appinstall\\TOOL"), RegResult::Ok);
    RegKey gone;
    EXPECT_EQ(RegKey::Open("\\Security\\AppInstall\\Tool", gone), RegResult::NotFound);
    EXPECT_EQ(RegKey::Open("\\Security\\AppInstall\\Tool\\ExecutableFiles", gone),
              RegResult::NotFound);
    EXPECT_EQ(RegKey::Open("\\Security\\AppInstall\\Other", gone), RegResult::Ok);
    EXPECT_EQ(RegKey::DeleteKey("\\Security\\AppInstall\\Tool"), RegResult::NotFound);
    EXPECT_EQ(RegKey::DeleteKey(""), RegResult::Failed);

    // A handle to a deleted key reads nothing and cannot bring it back by writing.
    EXPECT_EQ(sub.SetString("x", "y"), RegResult::NotFound);
    std::string text;
    EXPECT_EQ(sub.QueryString("\\Program Files\\Tool\\tool.exe", text), RegResult::NotFound);
}

TEST(Registry, TwoProcessesWritingAtOnceLoseNothing) {
    TempDevice device;
    constexpr int kWrites = 150;
    std::vector<pid_t> children;
    for (int p = 0; p < 2; ++p) {
        pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            bool ok = true;
            for (int i = 0; i < kWrites; ++i) {
                RegKey key;
                // Both create the same keys and write their own values into them.
                ok = ok &&
                     RegKey::Create("\\Shared\\Key" + std::to_string(i % 5), key) == RegResult::Ok;
                ok = ok && key.SetDword("p" + std::to_string(p) + "_" + std::to_string(i), i) ==
                               RegResult::Ok;
            }
            _exit(ok ? 0 : 1);
        }
        children.push_back(pid);
    }
    for (pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    RegKey shared;
    ASSERT_EQ(RegKey::Open("\\Shared", shared), RegResult::Ok);
    std::set<std::string> keys, values;
    std::string name;
    for (uint32_t i = 0; shared.EnumKey(i, name) == RegResult::Ok; ++i) {
        keys.insert(name);
        RegKey k;
        ASSERT_EQ(RegKey::Open("\\Shared\\" + name, k), RegResult::Ok);
        RegValue v;
        for (uint32_t j = 0; k.EnumValue(j, v) == RegResult::Ok; ++j)
            values.insert(v.name);
    }
    EXPECT_EQ(keys.size(), 5u);
    EXPECT_EQ(values.size(), 2u * kWrites);
}

TEST(Registry, CorruptDatabaseIsAnErrorNotACrash) {
    TempDevice device;
    {
        std::ofstream out(RegistryFile(), std::ios::binary);
        out << std::string(8192, '\x5a');
    }
    RegKey key;
    EXPECT_EQ(RegKey::Open("\\Software", key), RegResult::Failed);
    EXPECT_EQ(RegKey::Create("\\Software\\Zentri", key), RegResult::Failed);
    EXPECT_NE(RegistryError().find("registry.sqlite3"), std::string::npos) << RegistryError();
    // The damaged file is left as it was for the user to inspect.
    std::ifstream in(RegistryFile(), std::ios::binary);
    std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(content, std::string(8192, '\x5a'));
}

TEST(Registry, TransactionsApplyAllOrNothing) {
    TempDevice device;
    RegKey key;
    ASSERT_EQ(RegKey::Create("\\Software\\Kept", key), RegResult::Ok);
    {
        RegTransaction transaction;
        ASSERT_TRUE(transaction.Active());
        RegTransaction nested;
        EXPECT_FALSE(nested.Active());
        ASSERT_EQ(RegKey::Create("\\Software\\Acme\\Tool", key), RegResult::Ok);
        ASSERT_EQ(key.SetDword("Version", 2), RegResult::Ok);
        ASSERT_EQ(RegKey::DeleteKey("\\Software\\Kept"), RegResult::Ok);
        EXPECT_EQ(RegKey::Open("\\Software\\Kept", key), RegResult::NotFound);  // seen inside
        // Another process sees none of it while it is open.
        auto reg = [](const char* key) {
            return Process::StartHost({ZENTRI_REG_PROGRAM, "query", key})->Wait();
        };
        EXPECT_EQ(reg("HKLM\\Software\\Kept"), 0);
        EXPECT_EQ(reg("HKLM\\Software\\Acme"), 1);
    }  // not committed: undone
    EXPECT_EQ(RegKey::Open("\\Software\\Acme", key), RegResult::NotFound);
    EXPECT_EQ(RegKey::Open("\\Software\\Kept", key), RegResult::Ok);

    RegTransaction transaction;
    ASSERT_EQ(RegKey::Create("\\Software\\Acme\\Tool", key), RegResult::Ok);
    ASSERT_EQ(key.SetDword("Version", 3), RegResult::Ok);
    EXPECT_TRUE(transaction.Commit());
    EXPECT_FALSE(transaction.Commit());
    uint32_t version = 0;
    ASSERT_EQ(RegKey::Open("\\Software\\Acme\\Tool", key), RegResult::Ok);
    EXPECT_EQ(key.QueryDword("Version", version), RegResult::Ok);
    EXPECT_EQ(version, 3u);
}

// A setup library closes its connection before it returns to the installer: keys and
// enumerations go on over the next connection, and an open transaction is never cut short.
TEST(Registry, ClosingTheConnectionKeepsKeysUsableAndSparesAnOpenTransaction) {
    TempDevice device;
    RegKey key, software;
    ASSERT_EQ(RegKey::Create("\\Software\\Acme", key), RegResult::Ok);
    ASSERT_EQ(RegKey::Create("\\Software\\Zentri", key), RegResult::Ok);
    ASSERT_EQ(key.SetDword("ZentriRevision", 12), RegResult::Ok);
    {
        RegTransaction transaction;
        ASSERT_TRUE(transaction.Active());
        ASSERT_EQ(key.SetDword("ZentriRevision", 13), RegResult::Ok);
        EXPECT_FALSE(CloseRegistry());
        EXPECT_TRUE(transaction.Commit());
    }
    EXPECT_TRUE(CloseRegistry());
    EXPECT_TRUE(CloseRegistry());  // already closed
    uint32_t revision = 0;
    EXPECT_EQ(key.QueryDword("ZentriRevision", revision), RegResult::Ok);
    EXPECT_EQ(revision, 13u);

    std::string name;
    ASSERT_EQ(RegKey::Open("\\Software", software), RegResult::Ok);
    ASSERT_EQ(software.EnumKey(0, name), RegResult::Ok);
    EXPECT_EQ(name, "Acme");
    EXPECT_TRUE(CloseRegistry());
    ASSERT_EQ(software.EnumKey(1, name), RegResult::Ok);
    EXPECT_EQ(name, "Zentri");
    EXPECT_EQ(software.EnumKey(2, name), RegResult::NotFound);
}

}  // namespace
}  // namespace platform
