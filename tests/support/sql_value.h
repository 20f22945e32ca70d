#pragma once

#include <sqlite3.h>

#include <string>

namespace zelar::test {

// One value of an SQL query on an archive file, read by SQLite directly and not through the
// archive; "<error>" when there is none.
inline std::string sqlValue(const std::string& path, const std::string& query) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* statement = nullptr;
    std::string value = "<error>";
    if (sqlite3_prepare_v2(db, query.c_str(), -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW) {
        const auto* text = sqlite3_column_text(statement, 0);
        value = text ? reinterpret_cast<const char*>(text) : "";
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return value;
}

}  // namespace zelar::test
