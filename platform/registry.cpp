#include "platform/registry.h"

#include <pthread.h>
#include <sqlite3.h>
#include <unistd.h>

#include <filesystem>
#include <mutex>
#include <unordered_map>
#include <unordered_set>

#include "platform/paths.h"
#include "platform/text.h"

namespace platform {
namespace {

thread_local std::string lastError;
thread_local bool inRegTransaction = false;     // a RegTransaction of this thread is active
thread_local sqlite3* transactionDb = nullptr;  // its connection

// The schema's versions (PRAGMA user_version): 0 the tables alone (databases made before the
// version was kept), 1 with indexes that list a key's subkeys and values in creation order, so
// that enumerating them is not a sort per step. A database is brought to kSchemaVersion when it
// is opened; one from a later version is used as it is.
constexpr int kSchemaVersion = 1;
constexpr const char* kSchema =
    "BEGIN IMMEDIATE;"
    "CREATE TABLE IF NOT EXISTS keys("
    "  id INTEGER PRIMARY KEY AUTOINCREMENT, parent INTEGER NOT NULL, name TEXT NOT NULL,"
    "  folded TEXT NOT NULL, UNIQUE(parent, folded));"
    "CREATE TABLE IF NOT EXISTS vals("
    "  seq INTEGER PRIMARY KEY AUTOINCREMENT, key INTEGER NOT NULL, name TEXT NOT NULL,"
    "  folded TEXT NOT NULL, type INTEGER NOT NULL, data BLOB, UNIQUE(key, folded));"
    "CREATE INDEX IF NOT EXISTS keys_by_parent ON keys(parent);"
    "CREATE INDEX IF NOT EXISTS vals_by_key ON vals(key);"
    "PRAGMA user_version=1;"
    "COMMIT;";

// One connection per process and device root; reopened after a fork or a change of root. Its
// statements are prepared once and kept (by their SQL text) while it is open.
struct Connection {
    sqlite3* db = nullptr;
    std::string file;
    pid_t pid = 0;
    uint64_t generation = 0;  // counts the connections this process opened
    std::unordered_map<std::string, sqlite3_stmt*> statements;
    std::unordered_set<sqlite3_stmt*> inUse;
};

Connection& Current() {
    static Connection conn;
    return conn;
}

std::recursive_mutex& DbLock() {
    static std::recursive_mutex lock;
    return lock;
}

RegResult Fail(const std::string& what, sqlite3* db) {
    lastError = what + (db ? std::string(": ") + sqlite3_errmsg(db) : std::string());
    return RegResult::Failed;
}

constexpr int kBusyTimeoutMs = 10000;

// Runs a setup statement of a new connection. Switching a new database to WAL and creating
// its tables while another process does the same can answer "busy" at once, without the busy
// handler, so those are retried for as long as the busy time-out.
bool Setup(sqlite3* db, const char* sql, char** err) {
    for (int waited = 0;; waited += 5) {
        sqlite3_free(*err);
        *err = nullptr;
        int rc = sqlite3_exec(db, sql, nullptr, nullptr, err);
        if (!sqlite3_get_autocommit(db)) sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        if (rc == SQLITE_OK) return true;
        if ((rc != SQLITE_BUSY && rc != SQLITE_LOCKED) || waited >= kBusyTimeoutMs) return false;
        usleep(5000);
    }
}

int SchemaVersion(sqlite3* db) {
    sqlite3_stmt* s = nullptr;
    int version = -1;
    if (sqlite3_prepare_v2(db, "PRAGMA user_version", -1, &s, nullptr) == SQLITE_OK &&
        sqlite3_step(s) == SQLITE_ROW)
        version = sqlite3_column_int(s, 0);
    sqlite3_finalize(s);
    return version;
}

// Brings the database to the current schema; one already there (or newer) is left alone.
bool Migrate(sqlite3* db, char** err) {
    int version = SchemaVersion(db);
    if (version >= kSchemaVersion) return true;
    return Setup(db, kSchema, err);
}

// The process id; getpid() is a system call each time, so it is read once and again in the
// child of a fork.
pid_t ProcessId() {
    static pid_t pid = [] {
        pthread_atfork(nullptr, nullptr, [] { pid = getpid(); });
        return getpid();
    }();
    return pid;
}

// Closes the connection this process opened (a handle inherited through fork() is abandoned,
// never used) and forgets it; the generation goes on counting.
void Disconnect(Connection& conn) {
    if (conn.db && conn.pid == ProcessId()) {
        for (auto& [sql, statement] : conn.statements)
            sqlite3_finalize(statement);
        sqlite3_close_v2(conn.db);
    }
    uint64_t generation = conn.generation;
    conn = Connection{};
    conn.generation = generation;
}

// Returns the open database of the current device root, or null (with lastError set).
sqlite3* Database() {
    // A transaction keeps its connection to the end: nothing to check in between.
    if (transactionDb) return transactionDb;
    Connection& conn = Current();
    std::string file = RegistryFile();
    if (conn.db && conn.file == file && conn.pid == ProcessId()) return conn.db;
    Disconnect(conn);
    ++conn.generation;
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(file).parent_path(), ec);
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(file.c_str(), &db,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX,
                        nullptr) != SQLITE_OK) {
        Fail("cannot open the registry database " + file, db);
        sqlite3_close_v2(db);
        return nullptr;
    }
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    char* err = nullptr;
    if (!Setup(db, "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL;", &err) ||
        !Migrate(db, &err)) {
        lastError =
            "the registry database " + file + " cannot be used: " + (err ? err : "unknown error");
        sqlite3_free(err);
        sqlite3_close_v2(db);
        return nullptr;
    }
    conn.db = db, conn.file = file, conn.pid = ProcessId();
    return db;
}

// A prepared statement of the connection, taken from its cache (prepared on first use) and
// reset for the next use when done. A statement already in use (a nested use of the same
// text) gets a private copy that is finalized instead.
class Statement {
  public:
    Statement(sqlite3* db, const std::string& sql) {
        Connection& conn = Current();
        if (conn.db == db) {
            auto found = conn.statements.find(sql);
            if (found != conn.statements.end() && !conn.inUse.count(found->second)) {
                stmt_ = found->second;
            } else if (found == conn.statements.end() &&
                       sqlite3_prepare_v3(db, sql.c_str(), -1, SQLITE_PREPARE_PERSISTENT, &stmt_,
                                          nullptr) == SQLITE_OK) {
                conn.statements.emplace(sql, stmt_);
            }
            if (stmt_) {
                conn.inUse.insert(stmt_);
                cached_ = true;
                return;
            }
        }
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt_, nullptr) != SQLITE_OK) stmt_ = nullptr;
    }
    ~Statement() {
        if (!cached_) {
            sqlite3_finalize(stmt_);
            return;
        }
        sqlite3_reset(stmt_);
        sqlite3_clear_bindings(stmt_);
        Current().inUse.erase(stmt_);
    }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    bool ok() const { return stmt_ != nullptr; }
    Statement& Bind(int i, int64_t v) {
        sqlite3_bind_int64(stmt_, i, v);
        return *this;
    }
    Statement& Bind(int i, std::string_view s) {
        sqlite3_bind_text(stmt_, i, s.data(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
        return *this;
    }
    Statement& BindBlob(int i, const void* data, size_t size) {
        sqlite3_bind_blob(stmt_, i, size ? data : "", static_cast<int>(size), SQLITE_TRANSIENT);
        return *this;
    }
    // SQLITE_ROW, SQLITE_DONE or an error code.
    int Step() { return stmt_ ? sqlite3_step(stmt_) : SQLITE_ERROR; }
    int64_t Int(int col) { return sqlite3_column_int64(stmt_, col); }
    std::string Text(int col) {
        const unsigned char* t = sqlite3_column_text(stmt_, col);
        return t ? std::string(reinterpret_cast<const char*>(t), sqlite3_column_bytes(stmt_, col))
                 : std::string();
    }
    std::vector<uint8_t> Blob(int col) {
        const uint8_t* b = static_cast<const uint8_t*>(sqlite3_column_blob(stmt_, col));
        return b ? std::vector<uint8_t>(b, b + sqlite3_column_bytes(stmt_, col))
                 : std::vector<uint8_t>();
    }

  private:
    sqlite3_stmt* stmt_ = nullptr;
    bool cached_ = false;
};

// Write transaction: BEGIN IMMEDIATE takes the write lock up front (waiting up to the busy
// time-out), so two processes never interleave a read-modify-write.
// Inside a RegTransaction of this thread it joins that transaction instead: nothing is
// committed or rolled back here, the RegTransaction decides for all its writes.
class WriteTransaction {
  public:
    explicit WriteTransaction(sqlite3* db) : db_(db) {
        nested_ = inRegTransaction;
        // A RegTransaction whose database transaction is gone (SQLite rolls back by itself on
        // some errors) takes no more writes: they would no longer be all-or-nothing.
        began_ = nested_
                     ? !sqlite3_get_autocommit(db)
                     : sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) == SQLITE_OK;
    }
    ~WriteTransaction() {
        if (began_ && !nested_ && !committed_)
            sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    }
    bool began() const { return began_; }
    bool Commit() {
        if (nested_) return committed_ = true;
        return committed_ = sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK;
    }

  private:
    sqlite3* db_;
    bool nested_ = false;
    bool began_ = false;
    bool committed_ = false;
};

std::string NormalisedPath(const std::vector<std::string>& parts) {
    std::string path;
    for (const auto& p : parts)
        path += "\\" + p;
    return path;
}

std::vector<std::string> SplitKeyPath(std::string_view path) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('\\', start);
        if (end == std::string_view::npos) end = path.size();
        if (end > start) parts.emplace_back(path.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

// Finds (and with `create`, makes) the key; returns its id, 0 for HKLM, -1 when missing,
// -2 on a database error. `spelling` receives the path as the keys are spelled, `created` the
// number of keys made (the last ones of the path).
int64_t FindKey(sqlite3* db, const std::vector<std::string>& parts, bool create,
                std::string* spelling = nullptr, size_t* created = nullptr) {
    int64_t id = 0;
    std::string path;
    if (created) *created = 0;
    for (const std::string& part : parts) {
        Statement find(db, "SELECT id, name FROM keys WHERE parent=?1 AND folded=?2");
        find.Bind(1, id).Bind(2, FoldCase(part));
        int rc = find.Step();
        if (rc == SQLITE_ROW) {
            id = find.Int(0);
            path += "\\" + find.Text(1);
            continue;
        }
        if (rc != SQLITE_DONE) return -2;
        if (!create) return -1;
        Statement insert(db, "INSERT INTO keys(parent, name, folded) VALUES(?1, ?2, ?3)");
        insert.Bind(1, id).Bind(2, part).Bind(3, FoldCase(part));
        if (insert.Step() != SQLITE_DONE) return -2;
        id = sqlite3_last_insert_rowid(db);
        path += "\\" + part;
        if (created) ++*created;
    }
    if (spelling) *spelling = path;
    return id;
}

bool KeyExists(sqlite3* db, int64_t id) {
    if (id == 0) return true;
    Statement s(db, "SELECT 1 FROM keys WHERE id=?1");
    s.Bind(1, id);
    return s.Step() == SQLITE_ROW;
}

RegValue ReadValue(Statement& s, int first = 0) {  // columns from `first`: name, type, data
    RegValue v;
    v.name = s.Text(first);
    v.type = static_cast<RegType>(s.Int(first + 1));
    std::vector<uint8_t> data = s.Blob(first + 2);
    switch (v.type) {
        case RegType::Dword:
            for (size_t i = 0; i < 4 && i < data.size(); ++i)
                v.number |= uint32_t{data[i]} << (8 * i);
            break;
        case RegType::String:
            v.text.assign(data.begin(), data.end());
            break;
        default:
            v.bytes = std::move(data);
            break;
    }
    return v;
}

// The cursor that describes the database as it is now (for the index and row given).
RegKey::Cursor CursorNow(sqlite3* db, uint32_t index, int64_t row) {
    RegKey::Cursor now;
    now.index = index, now.row = row, now.connection = Current().generation;
    Statement version(db, "PRAGMA data_version");
    now.dataVersion = version.Step() == SQLITE_ROW ? version.Int(0) : -1;
    now.changes = sqlite3_total_changes64(db);
    return now;
}

// One step of an enumeration: the index-th row of the key (columns: its row id, then what
// `read` takes). When the previous step of the same enumeration returned index - 1 and nothing
// changed since, the row after that one is the answer, found through the index instead of by
// counting rows from the start. Returns SQLITE_ROW, SQLITE_DONE or an error code.
template <class Read>
int EnumStep(sqlite3* db, int64_t key, uint32_t index, RegKey::Cursor& cursor, const char* next,
             const char* byOffset, Read read) {
    RegKey::Cursor now = CursorNow(db, index, 0);
    bool follows = index > 0 && cursor.connection == now.connection && cursor.index + 1 == index &&
                   cursor.dataVersion == now.dataVersion && cursor.changes == now.changes &&
                   now.dataVersion >= 0;
    Statement s(db, follows ? next : byOffset);
    s.Bind(1, key).Bind(2, follows ? cursor.row : static_cast<int64_t>(index));
    int rc = s.Step();
    if (rc == SQLITE_ROW) {
        read(s);
        now.row = s.Int(0);
        cursor = now;
    } else {
        cursor = RegKey::Cursor{};
    }
    return rc;
}

// Writes the value into the key. An existing value keeps its place in the enumeration order;
// its name keeps its spelling.
bool Insert(sqlite3* db, int64_t key, const RegValue& value) {
    std::vector<uint8_t> data;
    switch (value.type) {
        case RegType::Dword:
            for (int i = 0; i < 4; ++i)
                data.push_back(static_cast<uint8_t>(value.number >> (8 * i)));
            break;
        case RegType::String:
            data.assign(value.text.begin(), value.text.end());
            break;
        default:
            data = value.bytes;
            break;
    }
    Statement s(db,
                "INSERT INTO vals(key, name, folded, type, data) VALUES(?1, ?2, ?3, ?4, ?5) "
                "ON CONFLICT(key, folded) DO UPDATE SET type=excluded.type, data=excluded.data");
    s.Bind(1, key).Bind(2, value.name).Bind(3, FoldCase(value.name));
    s.Bind(4, static_cast<int64_t>(value.type));
    s.BindBlob(5, data.data(), data.size());
    return s.Step() == SQLITE_DONE;
}

}  // namespace

std::string RegistryFile() {
    return (DeviceRoot() / "registry.sqlite3").string();
}

std::string RegistryError() {
    return lastError;
}

bool CloseRegistry() {
    std::lock_guard<std::recursive_mutex> guard(DbLock());
    Connection& conn = Current();
    if (transactionDb || !conn.inUse.empty()) return false;
    Disconnect(conn);
    return true;
}

RegResult RegKey::Open(std::string_view path, RegKey& key) {
    std::lock_guard<std::recursive_mutex> guard(DbLock());
    sqlite3* db = Database();
    if (!db) return RegResult::Failed;
    auto parts = SplitKeyPath(path);
    std::string spelling;
    int64_t id = FindKey(db, parts, false, &spelling);
    if (id == -2) return Fail("cannot read the registry", db);
    if (id == -1) {
        lastError = "no key " + NormalisedPath(parts);
        return RegResult::NotFound;
    }
    key.id_ = id, key.open_ = true, key.path_ = spelling;
    return RegResult::Ok;
}

RegResult RegKey::Create(std::string_view path, RegKey& key, size_t* created) {
    std::lock_guard<std::recursive_mutex> guard(DbLock());
    sqlite3* db = Database();
    if (!db) return RegResult::Failed;
    WriteTransaction tx(db);
    if (!tx.began()) return Fail("cannot write the registry", db);
    auto parts = SplitKeyPath(path);
    std::string spelling;
    int64_t id = FindKey(db, parts, true, &spelling, created);
    if (id < 0 || !tx.Commit()) return Fail("cannot create key " + NormalisedPath(parts), db);
    key.id_ = id, key.open_ = true, key.path_ = spelling;
    return RegResult::Ok;
}

RegResult RegKey::DeleteKey(std::string_view path) {
    std::lock_guard<std::recursive_mutex> guard(DbLock());
    sqlite3* db = Database();
    if (!db) return RegResult::Failed;
    auto parts = SplitKeyPath(path);
    if (parts.empty()) {
        lastError = "HKEY_LOCAL_MACHINE itself cannot be deleted";
        return RegResult::Failed;
    }
    WriteTransaction tx(db);
    if (!tx.began()) return Fail("cannot write the registry", db);
    int64_t id = FindKey(db, parts, false);
    if (id == -2) return Fail("cannot read the registry", db);
    if (id == -1) {
        lastError = "no key " + NormalisedPath(parts);
        return RegResult::NotFound;
    }
    const char* subtree =
        "WITH RECURSIVE sub(id) AS (SELECT ?1 UNION ALL SELECT k.id FROM keys k JOIN sub ON "
        "k.parent=sub.id) ";
    Statement vals(db, (std::string(subtree) + "DELETE FROM vals WHERE key IN sub").c_str());
    Statement keys(db, (std::string(subtree) + "DELETE FROM keys WHERE id IN sub").c_str());
    vals.Bind(1, id);
    keys.Bind(1, id);
    if (vals.Step() != SQLITE_DONE || keys.Step() != SQLITE_DONE || !tx.Commit())
        return Fail("cannot delete key " + NormalisedPath(parts), db);
    return RegResult::Ok;
}

RegResult RegKey::Query(std::string_view name, RegValue& value) const {
    std::lock_guard<std::recursive_mutex> guard(DbLock());
    sqlite3* db = open_ ? Database() : nullptr;
    if (!db) return open_ ? RegResult::Failed : RegResult::NotFound;
    Statement s(db, "SELECT name, type, data FROM vals WHERE key=?1 AND folded=?2");
    s.Bind(1, id_).Bind(2, FoldCase(name));
    int rc = s.Step();
    if (rc == SQLITE_ROW) {
        value = ReadValue(s);
        return RegResult::Ok;
    }
    if (rc != SQLITE_DONE) return Fail("cannot read the registry", db);
    lastError = "no value " + std::string(name) + " in " + path_;
    return RegResult::NotFound;
}

RegResult RegKey::QueryDword(std::string_view name, uint32_t& value) const {
    RegValue v;
    RegResult r = Query(name, v);
    if (r != RegResult::Ok) return r;
    if (v.type != RegType::Dword) return RegResult::NotFound;
    value = v.number;
    return RegResult::Ok;
}

RegResult RegKey::QueryString(std::string_view name, std::string& value) const {
    RegValue v;
    RegResult r = Query(name, v);
    if (r != RegResult::Ok) return r;
    if (v.type != RegType::String) return RegResult::NotFound;
    value = v.text;
    return RegResult::Ok;
}

RegResult RegKey::Set(const RegValue& value) {
    return SetValues(&value, 1);
}

RegResult RegKey::SetValues(const std::vector<RegValue>& values) {
    return SetValues(values.data(), values.size());
}

RegResult RegKey::SetValues(const RegValue* values, size_t count) {
    std::lock_guard<std::recursive_mutex> guard(DbLock());
    sqlite3* db = open_ ? Database() : nullptr;
    if (!db) return open_ ? RegResult::Failed : RegResult::NotFound;
    WriteTransaction tx(db);
    if (!tx.began()) return Fail("cannot write the registry", db);
    if (!KeyExists(db, id_)) {
        lastError = "the key " + path_ + " was deleted";
        return RegResult::NotFound;
    }
    for (size_t i = 0; i < count; ++i)
        if (!Insert(db, id_, values[i]))
            return Fail("cannot set " + values[i].name + " in " + path_, db);
    if (!tx.Commit()) return Fail("cannot write the registry", db);
    return RegResult::Ok;
}

RegResult RegKey::SetDword(std::string_view name, uint32_t value) {
    RegValue v;
    v.name = name, v.type = RegType::Dword, v.number = value;
    return Set(v);
}

RegResult RegKey::SetString(std::string_view name, std::string_view text) {
    RegValue v;
    v.name = name, v.type = RegType::String, v.text = text;
    return Set(v);
}

RegResult RegKey::SetBinary(std::string_view name, const std::vector<uint8_t>& bytes) {
    RegValue v;
    v.name = name, v.type = RegType::Binary, v.bytes = bytes;
    return Set(v);
}

RegResult RegKey::DeleteValue(std::string_view name) {
    std::lock_guard<std::recursive_mutex> guard(DbLock());
    sqlite3* db = open_ ? Database() : nullptr;
    if (!db) return open_ ? RegResult::Failed : RegResult::NotFound;
    WriteTransaction tx(db);
    if (!tx.began()) return Fail("cannot write the registry", db);
    Statement s(db, "DELETE FROM vals WHERE key=?1 AND folded=?2");
    s.Bind(1, id_).Bind(2, FoldCase(name));
    if (s.Step() != SQLITE_DONE) return Fail("cannot delete " + std::string(name), db);
    bool deleted = sqlite3_changes(db) > 0;
    if (!tx.Commit()) return Fail("cannot delete " + std::string(name), db);
    if (!deleted) {
        lastError = "no value " + std::string(name) + " in " + path_;
        return RegResult::NotFound;
    }
    return RegResult::Ok;
}

RegResult RegKey::EnumKey(uint32_t index, std::string& name) const {
    std::lock_guard<std::recursive_mutex> guard(DbLock());
    sqlite3* db = open_ ? Database() : nullptr;
    if (!db) return open_ ? RegResult::Failed : RegResult::NotFound;
    int rc = EnumStep(db, id_, index, keyCursor_,
                      "SELECT id, name FROM keys WHERE parent=?1 AND id>?2 ORDER BY id LIMIT 1",
                      "SELECT id, name FROM keys WHERE parent=?1 ORDER BY id LIMIT 1 OFFSET ?2",
                      [&](Statement& s) { name = s.Text(1); });
    if (rc == SQLITE_ROW) return RegResult::Ok;
    if (rc != SQLITE_DONE) return Fail("cannot read the registry", db);
    return RegResult::NotFound;
}

RegResult RegKey::EnumValue(uint32_t index, RegValue& value) const {
    std::lock_guard<std::recursive_mutex> guard(DbLock());
    sqlite3* db = open_ ? Database() : nullptr;
    if (!db) return open_ ? RegResult::Failed : RegResult::NotFound;
    int rc = EnumStep(
        db, id_, index, valueCursor_,
        "SELECT seq, name, type, data FROM vals WHERE key=?1 AND seq>?2 ORDER BY seq LIMIT 1",
        "SELECT seq, name, type, data FROM vals WHERE key=?1 ORDER BY seq LIMIT 1 OFFSET ?2",
        [&](Statement& s) { value = ReadValue(s, 1); });
    if (rc == SQLITE_ROW) return RegResult::Ok;
    if (rc != SQLITE_DONE) return Fail("cannot read the registry", db);
    return RegResult::NotFound;
}

RegTransaction::RegTransaction() : lock_(DbLock()) {
    sqlite3* db = Database();
    if (!db) return;
    if (inRegTransaction || !sqlite3_get_autocommit(db)) {
        lastError = "a registry transaction is already open on this thread";
        return;
    }
    if (sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK) {
        Fail("cannot write the registry", db);
        return;
    }
    db_ = db;
    inRegTransaction = true;
    transactionDb = db;
}

RegTransaction::~RegTransaction() {
    if (!db_) return;
    inRegTransaction = false;
    transactionDb = nullptr;
    sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
}

bool RegTransaction::Commit() {
    if (!db_) return false;
    sqlite3* db = db_;
    db_ = nullptr;
    inRegTransaction = false;
    transactionDb = nullptr;
    if (sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK) return true;
    Fail("cannot commit the registry changes", db);
    sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    return false;
}

}  // namespace platform
