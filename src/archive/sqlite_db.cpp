#include "archive/sqlite_db.h"

#include <filesystem>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace zelar::archive {

namespace {

using Kind = ArchiveError::Kind;

Kind kindOf(int code) {
    switch (code & 0xFF) {
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            return Kind::Locked;
        case SQLITE_READONLY:
        case SQLITE_PERM:
        case SQLITE_CANTOPEN:
        case SQLITE_AUTH:
            return Kind::ReadOnly;
        case SQLITE_FULL:
        case SQLITE_IOERR:
            return Kind::Full;
        case SQLITE_CORRUPT:
        case SQLITE_NOTADB:
            return Kind::Corrupt;
        default:
            return Kind::Other;
    }
}

std::string reasonText(Kind kind, int code, const std::string& path) {
    const std::string file = "«" + path + "»";
    switch (kind) {
        case Kind::Locked:
            return "файл архива " + file + " занят другой программой";
        case Kind::ReadOnly:
            return "файл архива " + file + " недоступен для записи";
        case Kind::Full:
            return "нет места на диске или ошибка записи в " + file;
        case Kind::Corrupt:
            return "файл " + file + " повреждён или не является архивом; он оставлен как есть";
        default:
            return "ошибка SQLite в " + file + ": " + sqlite3_errstr(code);
    }
}

// The archive holds passwords as settings files do: its file is the user's alone from the
// moment it exists. SQLite gives its WAL and shared-memory files the same mode.
void createPrivateFile(const std::string& path) {
#ifndef _WIN32
    const int fd = ::open(path.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0600);
    if (fd >= 0)
        ::close(fd);
#else
    (void)path;
#endif
}

}  // namespace

SqliteDb::SqliteDb(const std::string& path, OpenMode mode, int busyTimeoutMs) : path_(path) {
    std::error_code error;
    const bool exists = std::filesystem::exists(path, error);
    if (!exists && mode == OpenMode::Read)
        throw ArchiveError(Kind::Missing, "архива «" + path + "» нет");
    if (!exists)
        createPrivateFile(path);
    int flags = mode == OpenMode::Read ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
#ifdef _WIN32
    // The folder's rights guard the file there, and no mode is given.
    if (mode == OpenMode::Write)
        flags |= SQLITE_OPEN_CREATE;
#endif
    const int code = sqlite3_open_v2(path.c_str(), &db_, flags | SQLITE_OPEN_FULLMUTEX, nullptr);
    if (code != SQLITE_OK) {
        // A failed open still gives a handle, and no destructor runs after a throw here.
        sqlite3_close_v2(db_);
        db_ = nullptr;
        fail(code);
    }
    sqlite3_busy_timeout(db_, busyTimeoutMs);
    sqlite3_extended_result_codes(db_, 0);
}

SqliteDb::~SqliteDb() {
    sqlite3_close_v2(db_);
}

void SqliteDb::exec(const char* sql) {
    const int code = sqlite3_exec(db_, sql, nullptr, nullptr, nullptr);
    if (code != SQLITE_OK)
        fail(code);
}

void SqliteDb::fail(int code) const {
    const Kind kind = kindOf(code);
    throw ArchiveError(kind, reasonText(kind, code, path_));
}

SqliteStatement::SqliteStatement(SqliteDb& db, const char* sql) : db_(db) {
    const int code = sqlite3_prepare_v2(db.handle(), sql, -1, &statement_, nullptr);
    if (code != SQLITE_OK)
        db_.fail(code);
}

SqliteStatement::~SqliteStatement() {
    sqlite3_finalize(statement_);
}

SqliteStatement& SqliteStatement::bind(int index, std::int64_t value) {
    sqlite3_bind_int64(statement_, index, value);
    return *this;
}

SqliteStatement& SqliteStatement::bind(int index, std::string_view text) {
    sqlite3_bind_text(statement_, index, text.data(), static_cast<int>(text.size()),
                      SQLITE_TRANSIENT);
    return *this;
}

SqliteStatement& SqliteStatement::bindBlob(int index, std::string_view bytes) {
    sqlite3_bind_blob(statement_, index, bytes.data(), static_cast<int>(bytes.size()),
                      SQLITE_TRANSIENT);
    return *this;
}

SqliteStatement& SqliteStatement::bindNull(int index) {
    sqlite3_bind_null(statement_, index);
    return *this;
}

bool SqliteStatement::step() {
    const int code = sqlite3_step(statement_);
    if (code == SQLITE_ROW)
        return true;
    if (code == SQLITE_DONE)
        return false;
    sqlite3_reset(statement_);
    db_.fail(code);
}

void SqliteStatement::run() {
    while (step()) {
    }
}

void SqliteStatement::reset() {
    sqlite3_reset(statement_);
    sqlite3_clear_bindings(statement_);
}

std::int64_t SqliteStatement::integer(int column) const {
    return sqlite3_column_int64(statement_, column);
}

std::string SqliteStatement::text(int column) const {
    const void* bytes = sqlite3_column_blob(statement_, column);
    const int size = sqlite3_column_bytes(statement_, column);
    if (bytes == nullptr || size <= 0)
        return {};
    return std::string(static_cast<const char*>(bytes), static_cast<std::size_t>(size));
}

bool SqliteStatement::null(int column) const {
    return sqlite3_column_type(statement_, column) == SQLITE_NULL;
}

SqliteTransaction::SqliteTransaction(SqliteDb& db) : db_(db) {
    db_.exec("BEGIN IMMEDIATE");
}

SqliteTransaction::~SqliteTransaction() {
    if (!done_)
        sqlite3_exec(db_.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void SqliteTransaction::commit() {
    db_.exec("COMMIT");
    done_ = true;
}

}  // namespace zelar::archive
