#pragma once
// The catalogue's SQLite database: one connection shared by the request threads and guarded by
// a mutex, write-ahead logging so that a killed process never leaves a torn write, a busy
// time-out so that the account commands may write while the service runs, and every change
// inside a transaction.

#include <sqlite3.h>

#include <cstdint>
#include <filesystem>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace zentri::server {

// Thrown by the wrappers below when SQLite fails; the request layer turns it into a refusal.
class DatabaseError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class Database {
  public:
    // Opens (creating when missing) the database file and its schema.
    explicit Database(const std::filesystem::path& file);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    sqlite3* Handle() const { return db_; }
    // Every use of the connection happens under this lock.
    std::unique_lock<std::recursive_mutex> Lock() { return std::unique_lock(mutex_); }

    void Execute(std::string_view sql);
    int64_t LastInsertId() const { return sqlite3_last_insert_rowid(db_); }
    int Changes() const { return sqlite3_changes(db_); }

  private:
    void CreateSchema();

    sqlite3* db_ = nullptr;
    std::recursive_mutex mutex_;
};

// A prepared statement; binds are 1-based as in SQLite.
class Statement {
  public:
    Statement(Database& db, std::string_view sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    Statement& Bind(int index, int64_t value);
    Statement& Bind(int index, double value);
    Statement& Bind(int index, std::string_view value);
    Statement& BindNull(int index);
    template <typename T>
    Statement& Bind(int index, const std::optional<T>& value) {
        return value ? Bind(index, *value) : BindNull(index);
    }
    Statement& Bind(int index, int value) { return Bind(index, static_cast<int64_t>(value)); }
    Statement& Bind(int index, const char* value) { return Bind(index, std::string_view(value)); }
    Statement& Bind(int index, const std::string& value) {
        return Bind(index, std::string_view(value));
    }

    // Steps once: true while a row is available.
    bool Step();
    // Steps to the end (for statements that return no rows).
    void Run();
    void Reset();

    int64_t Int(int column) const { return sqlite3_column_int64(stmt_, column); }
    double Real(int column) const { return sqlite3_column_double(stmt_, column); }
    std::string Text(int column) const;
    bool IsNull(int column) const { return sqlite3_column_type(stmt_, column) == SQLITE_NULL; }

  private:
    Database& db_;
    sqlite3_stmt* stmt_ = nullptr;
};

// BEGIN IMMEDIATE on creation, ROLLBACK unless Commit was called.
class Transaction {
  public:
    explicit Transaction(Database& db);
    ~Transaction();
    void Commit();

  private:
    Database& db_;
    std::unique_lock<std::recursive_mutex> lock_;
    bool done_ = false;
};

}  // namespace zentri::server
