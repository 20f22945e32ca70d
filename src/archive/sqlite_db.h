#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "archive/archive_store.h"

namespace zelar::archive {

// One SQLite connection; every failure becomes an ArchiveError that names the file.
class SqliteDb {
  public:
    SqliteDb(const std::string& path, OpenMode mode, int busyTimeoutMs);
    ~SqliteDb();
    SqliteDb(const SqliteDb&) = delete;
    SqliteDb& operator=(const SqliteDb&) = delete;

    sqlite3* handle() const { return db_; }
    const std::string& path() const { return path_; }
    // Runs statements that return no rows.
    void exec(const char* sql);
    // Throws the ArchiveError that SQLite's result `code` stands for.
    [[noreturn]] void fail(int code) const;

  private:
    std::string path_;
    sqlite3* db_ = nullptr;
};

// A prepared statement: bind from 1, step, read columns from 0.
class SqliteStatement {
  public:
    SqliteStatement(SqliteDb& db, const char* sql);
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    SqliteStatement& bind(int index, std::int64_t value);
    SqliteStatement& bind(int index, std::string_view text);
    SqliteStatement& bindBlob(int index, std::string_view bytes);
    SqliteStatement& bindNull(int index);
    // True while a row is there.
    bool step();
    // Steps a statement that returns no rows.
    void run();
    void reset();

    std::int64_t integer(int column) const;
    std::string text(int column) const;
    bool null(int column) const;

  private:
    SqliteDb& db_;
    sqlite3_stmt* statement_ = nullptr;
};

// BEGIN IMMEDIATE, so that a second writer waits its turn through the busy time-out instead of
// failing half-way; rolled back unless committed.
class SqliteTransaction {
  public:
    explicit SqliteTransaction(SqliteDb& db);
    ~SqliteTransaction();
    SqliteTransaction(const SqliteTransaction&) = delete;
    SqliteTransaction& operator=(const SqliteTransaction&) = delete;
    void commit();

  private:
    SqliteDb& db_;
    bool done_ = false;
};

}  // namespace zelar::archive
