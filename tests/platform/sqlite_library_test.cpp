#include <sqlite3.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

// The SQLite library each build links: Debian's on Linux, the mingw-w64 DLL on Windows.
namespace {

namespace fs = std::filesystem;

// The first column of the first row of `sql`, as text.
std::string firstText(sqlite3* db, const std::string& sql) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK)
        return "prepare failed: " + std::string(sqlite3_errmsg(db));
    std::string text = "no row";
    if (sqlite3_step(statement) == SQLITE_ROW)
        text = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
    sqlite3_finalize(statement);
    return text;
}

TEST(SqliteLibrary, TheLibraryIsTheHeadersAndBuiltAsDebianBuildsIt) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(":memory:", &db), SQLITE_OK);
    EXPECT_EQ(firstText(db, "select sqlite_version()"), SQLITE_VERSION);
    EXPECT_EQ(sqlite3_threadsafe(), 1);
    for (const char* option : {"SECURE_DELETE", "ENABLE_FTS3", "ENABLE_RTREE"})
        EXPECT_EQ(sqlite3_compileoption_used(option), 1) << option;
    sqlite3_close(db);
}

// Russian texts in and out unchanged, in a database whose folder has a Cyrillic name (a
// Windows user's profile folder often has one).
TEST(SqliteLibrary, CyrillicTextsInAFolderNamedInCyrillic) {
    const fs::path dir = fs::temp_directory_path() / u8"архив-zelar-sqlite";
    fs::remove_all(dir);
    fs::create_directories(dir);
    const std::u8string file = (dir / u8"журнал.db").u8string();
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(reinterpret_cast<const char*>(file.c_str()), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db,
                           "create table t(v text);"
                           "insert into t values('Настройки записаны');",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    EXPECT_EQ(firstText(db, "select v from t"), "Настройки записаны");
    EXPECT_EQ(firstText(db, "select length(v) from t"), "18");
    sqlite3_close(db);
    EXPECT_TRUE(fs::exists(dir / u8"журнал.db"));
    fs::remove_all(dir);
}

}  // namespace
