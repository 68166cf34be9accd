#pragma once
// HKEY_LOCAL_MACHINE of the emulated device, kept in one SQLite database in the device root
// and shared by every process of the device (the client, the installer, the setup library, the
// tools). Key and value names compare case-insensitively and keep their spelling; keys and
// values enumerate in creation order; values keep their type. Writes are transactions in WAL
// mode with a busy time-out, so processes writing at once never lose or tear a write.
//
// Names and texts are UTF-8. A key path is a backslash-separated path below HKLM, such as
// "\Security\AppInstall\Acme Tool"; leading and trailing backslashes are optional and "" is
// HKLM itself.

#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;

namespace platform {

// Numbers as on the handset: REG_SZ, REG_BINARY, REG_DWORD.
enum class RegType : uint32_t { String = 1, Binary = 3, Dword = 4 };

struct RegValue {
    std::string name;
    RegType type = RegType::String;
    std::string text;            // String
    uint32_t number = 0;         // Dword
    std::vector<uint8_t> bytes;  // Binary
};

enum class RegResult {
    Ok,
    NotFound,  // no such key or value (or a value of another type for the typed queries)
    Failed,    // the database could not be used; RegistryError() says why
};

class RegKey {
  public:
    RegKey() = default;

    static RegResult Open(std::string_view path, RegKey& key);
    // Opens the key, creating it and every missing key above it; `created` (may be null)
    // receives how many keys were made, the last ones of the path.
    static RegResult Create(std::string_view path, RegKey& key, size_t* created = nullptr);
    // Deletes the key with all its subkeys and values. HKLM itself cannot be deleted.
    static RegResult DeleteKey(std::string_view path);

    RegResult Query(std::string_view name, RegValue& value) const;
    RegResult QueryDword(std::string_view name, uint32_t& value) const;
    RegResult QueryString(std::string_view name, std::string& value) const;

    RegResult Set(const RegValue& value);
    // Sets every value, all or none (one write).
    RegResult SetValues(const std::vector<RegValue>& values);
    RegResult SetDword(std::string_view name, uint32_t value);
    RegResult SetString(std::string_view name, std::string_view text);
    RegResult SetBinary(std::string_view name, const std::vector<uint8_t>& bytes);
    RegResult DeleteValue(std::string_view name);

    // The index-th subkey name / value in creation order; NotFound past the end. Asking for
    // the indexes in turn (0, 1, 2, ...) costs the same for every step, however many there are.
    RegResult EnumKey(uint32_t index, std::string& name) const;
    RegResult EnumValue(uint32_t index, RegValue& value) const;

    // The path "\A\B" as the keys are spelled in the registry.
    const std::string& Path() const { return path_; }
    bool IsOpen() const { return open_; }

    // Where an enumeration stopped: the index and row it returned last, valid while the
    // database is unchanged since (by this connection or any other).
    struct Cursor {
        uint32_t index = 0;
        int64_t row = 0;
        uint64_t connection = 0;  // 0: none
        int64_t dataVersion = 0;
        int64_t changes = 0;
    };

  private:
    RegResult SetValues(const RegValue* values, size_t count);

    int64_t id_ = 0;
    bool open_ = false;
    std::string path_;
    mutable Cursor keyCursor_, valueCursor_;
};

// Makes every registry write of this thread between its construction and Commit() one
// all-or-nothing change: other processes see all of it or none, and without a successful
// Commit() (for instance when the caller meets a failure half-way) it is undone on
// destruction. Other threads of this process wait for the registry while it lives. Reads in it
// see its own writes. It does not nest: a second one on the same thread is not Active().
class RegTransaction {
  public:
    RegTransaction();
    ~RegTransaction();
    RegTransaction(const RegTransaction&) = delete;
    RegTransaction& operator=(const RegTransaction&) = delete;

    bool Active() const { return db_ != nullptr; }
    // False when the transaction was not active or could not be committed (then it is undone).
    bool Commit();

  private:
    std::unique_lock<std::recursive_mutex> lock_;
    ::sqlite3* db_ = nullptr;
};

// Why the last failing call of this thread failed.
std::string RegistryError();

// The database file of the current device root.
std::string RegistryFile();

// Closes this process's connection to the registry; the next call opens it again. A shared
// library with its own copy of this layer (a package's setup library) calls it before it
// returns to its loader, which may unload it with the connection still open. Does nothing and
// returns false while a RegTransaction of this thread is open.
bool CloseRegistry();

}  // namespace platform
