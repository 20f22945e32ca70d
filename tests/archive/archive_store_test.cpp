#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <thread>

#include "archive/archive_store.h"
#include "archive_folder.h"

namespace zelar::test {
namespace {

using archive::ArchiveError;
using archive::OpenMode;
using archive::openSqliteArchive;

std::string fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

TEST(ArchiveStore, NewFileIsPrivateInWalModeAtTheNewestSchemaAndKeepsItsEntriesWhenOpenedAgain) {
    ArchiveFolder folder;
    const std::string path = folder.file();
    openSqliteArchive(path, OpenMode::Write)->addVisit(visit("7204518", 1000, "A"));
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
#ifndef _WIN32
    // Private to its owner where files have POSIX modes (Windows gives the folder's rights).
    EXPECT_EQ(info.st_mode & 0777, 0600u);
#endif
    EXPECT_EQ(sqlValue(path, "PRAGMA journal_mode"), "wal");
    EXPECT_EQ(sqlValue(path, "PRAGMA user_version"), "2");

    // Opened again: nothing migrated twice, nothing lost, still private.
    auto again = openSqliteArchive(path, OpenMode::Write);
    again->addVisit(visit("7204518", 2000, "A"));
    ASSERT_EQ(again->history("7204518").size(), 2u);
    EXPECT_EQ(again->settingsOf(again->history("7204518")[1].id), "A");
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
#ifndef _WIN32
    // Private to its owner where files have POSIX modes (Windows gives the folder's rights).
    EXPECT_EQ(info.st_mode & 0777, 0600u);
#endif
}

TEST(ArchiveStore, ReadingAMissingArchiveCreatesNothing) {
    ArchiveFolder folder;
    try {
        openSqliteArchive(folder.file(), OpenMode::Read);
        FAIL() << "opened a missing archive";
    } catch (const ArchiveError& error) {
        EXPECT_EQ(error.kind(), ArchiveError::Kind::Missing);
    }
    EXPECT_FALSE(std::filesystem::exists(folder.file()));
}

TEST(ArchiveStore, AnArchiveOfTheFirstSchemaComesUpToDateWithItsVisitsCounted) {
    ArchiveFolder folder;
    const std::string path = folder.file();
    // The first release's schema, as such a file holds it.
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    sqlite3_exec(db,
                 "CREATE TABLE modem(id INTEGER PRIMARY KEY, serial TEXT NOT NULL UNIQUE, "
                 "site_name TEXT NOT NULL DEFAULT '', site_address TEXT NOT NULL DEFAULT '', "
                 "site_note TEXT NOT NULL DEFAULT '', last_installer TEXT NOT NULL DEFAULT '');"
                 "CREATE TABLE settings(id INTEGER PRIMARY KEY, hash INTEGER NOT NULL, bytes "
                 "BLOB NOT NULL);"
                 "CREATE TABLE visit(id INTEGER PRIMARY KEY, modem INTEGER NOT NULL, time "
                 "INTEGER NOT NULL, operation TEXT NOT NULL, before INTEGER NOT NULL DEFAULT 0, "
                 "detail TEXT NOT NULL DEFAULT '', port TEXT NOT NULL DEFAULT '', user INTEGER "
                 "NOT NULL DEFAULT 0, installer TEXT NOT NULL DEFAULT '', firmware TEXT NOT NULL "
                 "DEFAULT '', diagnostics TEXT NOT NULL DEFAULT '', meter TEXT NOT NULL DEFAULT "
                 "'', settings INTEGER);"
                 "INSERT INTO modem(id, serial, site_name) VALUES (1, '7204518', 'Склад');"
                 "INSERT INTO visit(modem, time, operation) VALUES (1, 5000, 'read'), "
                 "(1, 9000, 'write'), (1, 7000, 'diag');"
                 "PRAGMA user_version = 1;",
                 nullptr, nullptr, nullptr);
    sqlite3_close(db);

    auto store = openSqliteArchive(path, OpenMode::Write);
    const auto modem = store->modem("7204518");
    ASSERT_TRUE(modem);
    EXPECT_EQ(modem->site.name, "Склад");
    EXPECT_EQ(modem->visits, 3);
    EXPECT_EQ(modem->firstVisit, 5000);
    EXPECT_EQ(modem->lastVisit, 9000);
    EXPECT_EQ(sqlValue(path, "PRAGMA user_version"), "2");
}

// A file that is not this program's archive is refused and stays byte for byte as it was.
TEST(ArchiveStore, AFileThatIsNoArchiveIsKeptAsItWas) {
    struct Case {
        const char* name;
        std::function<void(const std::string&)> make;
        ArchiveError::Kind kind;
    };
    const Case cases[] = {
        {"garbage", [](const std::string& p) { std::ofstream(p) << std::string(5000, 'x'); },
         ArchiveError::Kind::Corrupt},
        {"another program's database",
         [](const std::string& p) {
             sqlite3* db = nullptr;
             sqlite3_open(p.c_str(), &db);
             sqlite3_exec(db, "CREATE TABLE t(x); INSERT INTO t VALUES (1);", nullptr, nullptr,
                          nullptr);
             sqlite3_close(db);
         },
         ArchiveError::Kind::Corrupt},
        {"a newer program's archive",
         [](const std::string& p) {
             sqlite3* db = nullptr;
             sqlite3_open(p.c_str(), &db);
             sqlite3_exec(db, "CREATE TABLE t(x); PRAGMA user_version = 99;", nullptr, nullptr,
                          nullptr);
             sqlite3_close(db);
         },
         ArchiveError::Kind::NewerSchema},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ArchiveFolder folder;
        const std::string path = folder.file();
        c.make(path);
        const std::string before = fileBytes(path);
        for (const OpenMode mode : {OpenMode::Write, OpenMode::Read}) {
            try {
                openSqliteArchive(path, mode)->addVisit(visit("1", 1));
                ADD_FAILURE() << "an entry went into it";
            } catch (const ArchiveError& error) {
                EXPECT_EQ(error.kind(), c.kind);
                EXPECT_NE(std::string(error.what()).find(path), std::string::npos);
            }
        }
        EXPECT_EQ(fileBytes(path), before);
    }
}

TEST(ArchiveStore, AWriterThatHoldsTheArchiveTooLongMakesItLockedNotLost) {
    ArchiveFolder folder;
    const std::string path = folder.file();
    auto first = openSqliteArchive(path, OpenMode::Write);
    first->addVisit(visit("1", 1));
    sqlite3* holder = nullptr;
    sqlite3_open(path.c_str(), &holder);
    sqlite3_exec(holder, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    auto second = openSqliteArchive(path, OpenMode::Write, 50);
    try {
        second->addVisit(visit("1", 2));
        FAIL() << "wrote past the lock";
    } catch (const ArchiveError& error) {
        EXPECT_EQ(error.kind(), ArchiveError::Kind::Locked);
    }
    sqlite3_exec(holder, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(holder);
    // Once free, the same store writes again.
    second->addVisit(visit("1", 3));
    EXPECT_EQ(first->history("1").size(), 2u);
}

TEST(ArchiveStore, TwoWritersAtOnceBothLand) {
    ArchiveFolder folder;
    const std::string path = folder.file();
    openSqliteArchive(path, OpenMode::Write);
    auto write = [&](const std::string& serial) {
        auto store = openSqliteArchive(path, OpenMode::Write);
        for (int i = 0; i < 50; ++i)
            store->addVisit(visit(serial, i, "S" + std::to_string(i % 3)));
    };
    std::thread a(write, "1");
    std::thread b(write, "2");
    a.join();
    b.join();
    auto store = openSqliteArchive(path, OpenMode::Read);
    EXPECT_EQ(store->history("1").size(), 50u);
    EXPECT_EQ(store->history("2").size(), 50u);
    EXPECT_EQ(sqlValue(path, "SELECT count(*) FROM settings"), "3");
}

TEST(ArchiveStore, EqualSettingsAreStoredOnceAndEveryEntryGetsItsOwnBack) {
    ArchiveFolder folder;
    auto store = openSqliteArchive(folder.file(), OpenMode::Write);
    const std::string a = "settings A";
    const std::string b(std::string("settings\0B", 10));
    for (const auto& [serial, time, bytes] : std::vector<std::tuple<std::string, int, std::string>>{
             {"1", 1, a}, {"1", 2, b}, {"2", 3, a}, {"1", 4, ""}, {"1", 5, a}}) {
        store->addVisit(visit(serial, time, bytes));
    }
    EXPECT_EQ(sqlValue(folder.file(), "SELECT count(*) FROM settings"), "2");
    const auto history = store->history("1");
    ASSERT_EQ(history.size(), 4u);
    EXPECT_EQ(store->settingsOf(history[0].id), a);
    EXPECT_EQ(store->settingsOf(history[1].id), b);
    EXPECT_EQ(store->settingsOf(history[2].id), "");
    EXPECT_EQ(store->settingsOf(history[3].id), a);
}

// Each row: the visits in the order they are added, then what the modem shows.
TEST(ArchiveStore, AModemsFiguresFollowItsVisitsInTimeNotInTheOrderAdded) {
    struct Case {
        const char* name;
        std::vector<std::pair<archive::UtcMillis, std::string>> visits;  // time, installer
        archive::UtcMillis first, last;
        int count;
        std::string installer;
        std::vector<archive::UtcMillis> order;
    };
    const Case cases[] = {
        {"in order", {{10, "Иванов"}, {20, "Петров"}}, 10, 20, 2, "Петров", {10, 20}},
        {"an older one imported later",
         {{20, "Петров"}, {10, "Иванов"}},
         10,
         20,
         2,
         "Петров",
         {10, 20}},
        {"the latest names nobody", {{10, "Иванов"}, {20, ""}}, 10, 20, 2, "Иванов", {10, 20}},
        {"one visit", {{30, ""}}, 30, 30, 1, "", {30}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ArchiveFolder folder;
        auto store = openSqliteArchive(folder.file(), OpenMode::Write);
        for (const auto& [time, installer] : c.visits)
            store->addVisit(visit("7", time, {}, installer));
        const auto modem = store->modem("7");
        ASSERT_TRUE(modem);
        EXPECT_EQ(modem->firstVisit, c.first);
        EXPECT_EQ(modem->lastVisit, c.last);
        EXPECT_EQ(modem->visits, c.count);
        EXPECT_EQ(modem->lastInstaller, c.installer);
        std::vector<archive::UtcMillis> order;
        for (const auto& e : store->history("7"))
            order.push_back(e.time);
        EXPECT_EQ(order, c.order);
    }
}

TEST(ArchiveStore, TheListIsFilteredBySerialSiteOrAddress) {
    ArchiveFolder folder;
    auto store = openSqliteArchive(folder.file(), OpenMode::Write);
    store->setSite("7204518", {"Склад Север", "ул. Ленина, 5", "ключ у охраны"});
    store->setSite("7300001", {"Office_1", "Main st. 100%", ""});
    store->addVisit(visit("7300002", 1));
    store->setSite("7300002", {"Ёлки-Палки", "", ""});
    struct Case {
        std::string filter;
        std::vector<std::string> serials;
    };
    const Case cases[] = {
        {"", {"7204518", "7300001", "7300002"}},
        {"730", {"7300001", "7300002"}},
        {"Склад", {"7204518"}},
        {"Ленина", {"7204518"}},
        {"office", {"7300001"}},  // Latin letters in either case
        {"СКЛАД СЕВЕР", {"7204518"}},
        {"ул. ленина", {"7204518"}},
        {"ёлки", {"7300002"}},
        {"ПАЛКИ", {"7300002"}},
        {"100%", {"7300001"}},  // the wildcards stand for themselves
        {"e_1", {"7300001"}},
        {"0%", {"7300001"}},
        {"_", {"7300001"}},
        {"охраны", {}},  // the note is not searched
        {"нет такого", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.filter);
        std::vector<std::string> serials;
        for (const auto& m : store->modems(c.filter))
            serials.push_back(m.serial);
        EXPECT_EQ(serials, c.serials);
    }
    const auto site = store->modem("7204518");
    ASSERT_TRUE(site);
    EXPECT_EQ(site->site.note, "ключ у охраны");
    EXPECT_EQ(site->visits, 0);
}

TEST(ArchiveStore, AnEntryAlreadyThereIsNotAddedTwice) {
    ArchiveFolder folder;
    auto store = openSqliteArchive(folder.file(), OpenMode::Write);
    archive::VisitEntry entry = visit("7", 100, "S");
    EXPECT_TRUE(store->addVisitOnce(entry));
    EXPECT_FALSE(store->addVisitOnce(entry));
    archive::VisitEntry before = entry;
    before.before = true;
    archive::VisitEntry otherPort = entry;
    otherPort.port = "COM4";
    archive::VisitEntry otherOperation = entry;
    otherOperation.operation = archive::VisitOperation::Restore;
    EXPECT_EQ(store->addVisitsOnce({entry, before, otherPort, otherOperation, before}), 3u);
    EXPECT_EQ(store->history("7").size(), 4u);
    EXPECT_EQ(store->modem("7")->visits, 4);
}

}  // namespace
}  // namespace zelar::test
