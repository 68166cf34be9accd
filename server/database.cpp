#include "server/database.h"

namespace zentri::server {

namespace {

[[noreturn]] void Fail(sqlite3* db, std::string_view what) {
    throw DatabaseError(std::string(what) + ": " + (db ? sqlite3_errmsg(db) : "out of memory"));
}

constexpr const char* kSchema = R"(
CREATE TABLE IF NOT EXISTS meta (key TEXT PRIMARY KEY, value TEXT NOT NULL);
CREATE TABLE IF NOT EXISTS categories (
    id INTEGER PRIMARY KEY,
    parent INTEGER REFERENCES categories(id),
    name TEXT NOT NULL,
    position INTEGER NOT NULL);
CREATE TABLE IF NOT EXISTS tags (
    id INTEGER PRIMARY KEY,
    name TEXT NOT NULL UNIQUE COLLATE NOCASE);
CREATE TABLE IF NOT EXISTS apps (
    id INTEGER PRIMARY KEY,
    sysid TEXT NOT NULL UNIQUE,
    name TEXT NOT NULL,
    company TEXT NOT NULL,
    catid INTEGER NOT NULL REFERENCES categories(id),
    type TEXT NOT NULL,
    version TEXT NOT NULL,
    revision INTEGER NOT NULL,
    exe TEXT NOT NULL,
    install TEXT NOT NULL,
    package TEXT NOT NULL,
    description TEXT NOT NULL,
    icon TEXT NOT NULL,
    rate_total REAL NOT NULL,
    rates INTEGER NOT NULL,
    views INTEGER NOT NULL,
    downloads INTEGER NOT NULL,
    createtime INTEGER NOT NULL,
    platforms TEXT NOT NULL,
    screens TEXT NOT NULL,
    needs TEXT NOT NULL);
CREATE TABLE IF NOT EXISTS app_tags (
    app INTEGER NOT NULL REFERENCES apps(id),
    tag INTEGER NOT NULL REFERENCES tags(id),
    position INTEGER NOT NULL,
    PRIMARY KEY (app, tag));
CREATE TABLE IF NOT EXISTS pictures (
    app INTEGER NOT NULL REFERENCES apps(id),
    position INTEGER NOT NULL,
    path TEXT NOT NULL,
    PRIMARY KEY (app, position));
CREATE TABLE IF NOT EXISTS accounts (
    id INTEGER PRIMARY KEY,
    login TEXT NOT NULL UNIQUE COLLATE NOCASE,
    mail TEXT NOT NULL UNIQUE COLLATE NOCASE,
    hash TEXT NOT NULL,
    active INTEGER NOT NULL,
    created INTEGER NOT NULL);
CREATE TABLE IF NOT EXISTS tokens (
    token TEXT PRIMARY KEY,
    account INTEGER NOT NULL REFERENCES accounts(id),
    kind TEXT NOT NULL,
    expires INTEGER NOT NULL);
CREATE TABLE IF NOT EXISTS sessions (
    id TEXT PRIMARY KEY,
    account INTEGER NOT NULL REFERENCES accounts(id),
    last_seen INTEGER NOT NULL,
    configured INTEGER NOT NULL DEFAULT 0,
    locale TEXT NOT NULL DEFAULT '',
    osver TEXT NOT NULL DEFAULT '',
    w INTEGER NOT NULL DEFAULT 0,
    h INTEGER NOT NULL DEFAULT 0,
    features TEXT NOT NULL DEFAULT '');
CREATE TABLE IF NOT EXISTS reviews (
    id INTEGER PRIMARY KEY,
    app INTEGER NOT NULL REFERENCES apps(id),
    account INTEGER REFERENCES accounts(id),
    login TEXT NOT NULL,
    txt TEXT NOT NULL,
    rate INTEGER NOT NULL,
    created INTEGER NOT NULL);
CREATE INDEX IF NOT EXISTS reviews_by_app ON reviews(app, created);
CREATE TABLE IF NOT EXISTS ratings (
    account INTEGER NOT NULL REFERENCES accounts(id),
    app INTEGER NOT NULL REFERENCES apps(id),
    rate INTEGER NOT NULL,
    PRIMARY KEY (account, app));
)";

}  // namespace

Database::Database(const std::filesystem::path& file) {
    int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX;
    if (sqlite3_open_v2(file.c_str(), &db_, flags, nullptr) != SQLITE_OK) {
        std::string message = db_ ? sqlite3_errmsg(db_) : "out of memory";
        sqlite3_close(db_);
        db_ = nullptr;
        throw DatabaseError("cannot open " + file.string() + ": " + message);
    }
    sqlite3_busy_timeout(db_, 10000);
    try {
        Execute("PRAGMA journal_mode=WAL");
        // WAL with synchronous NORMAL keeps the database consistent after a crash of the
        // process; FULL also survives a power cut at a small cost per commit.
        Execute("PRAGMA synchronous=FULL");
        Execute("PRAGMA foreign_keys=ON");
        CreateSchema();
    } catch (...) {
        sqlite3_close(db_);
        throw;
    }
}

Database::~Database() {
    sqlite3_close(db_);
}

void Database::Execute(std::string_view sql) {
    auto lock = Lock();
    std::string text(sql);
    char* error = nullptr;
    if (sqlite3_exec(db_, text.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        std::string message = error ? error : "unknown error";
        sqlite3_free(error);
        throw DatabaseError(message + " in: " + text.substr(0, 60));
    }
}

void Database::CreateSchema() {
    Transaction transaction(*this);
    Execute(kSchema);
    transaction.Commit();
}

Statement::Statement(Database& db, std::string_view sql) : db_(db) {
    if (sqlite3_prepare_v2(db.Handle(), sql.data(), static_cast<int>(sql.size()), &stmt_,
                           nullptr) != SQLITE_OK)
        Fail(db.Handle(), "prepare");
}

Statement::~Statement() {
    sqlite3_finalize(stmt_);
}

Statement& Statement::Bind(int index, int64_t value) {
    if (sqlite3_bind_int64(stmt_, index, value) != SQLITE_OK) Fail(db_.Handle(), "bind");
    return *this;
}

Statement& Statement::Bind(int index, double value) {
    if (sqlite3_bind_double(stmt_, index, value) != SQLITE_OK) Fail(db_.Handle(), "bind");
    return *this;
}

Statement& Statement::Bind(int index, std::string_view value) {
    if (sqlite3_bind_text(stmt_, index, value.data(), static_cast<int>(value.size()),
                          SQLITE_TRANSIENT) != SQLITE_OK)
        Fail(db_.Handle(), "bind");
    return *this;
}

Statement& Statement::BindNull(int index) {
    if (sqlite3_bind_null(stmt_, index) != SQLITE_OK) Fail(db_.Handle(), "bind");
    return *this;
}

bool Statement::Step() {
    int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    Fail(db_.Handle(), "step");
}

void Statement::Run() {
    while (Step()) {
    }
}

void Statement::Reset() {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

std::string Statement::Text(int column) const {
    const unsigned char* text = sqlite3_column_text(stmt_, column);
    return text ? std::string(reinterpret_cast<const char*>(text),
                              sqlite3_column_bytes(stmt_, column))
                : std::string();
}

Transaction::Transaction(Database& db) : db_(db), lock_(db.Lock()) {
    db_.Execute("BEGIN IMMEDIATE");
}

Transaction::~Transaction() {
    if (!done_) sqlite3_exec(db_.Handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void Transaction::Commit() {
    db_.Execute("COMMIT");
    done_ = true;
}

}  // namespace zentri::server
