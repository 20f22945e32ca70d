#include "archive/archive_schema.h"

#include <array>

namespace zelar::archive {

namespace {

struct Migration {
    int version;  // user_version once applied
    const char* sql;
};

// Every step from the first schema on, never changed once released: an archive of any earlier
// version comes up to date by running the ones after its version.
constexpr std::array kMigrations = {
    Migration{1, R"sql(
        CREATE TABLE modem(
            id INTEGER PRIMARY KEY,
            serial TEXT NOT NULL UNIQUE,
            site_name TEXT NOT NULL DEFAULT '',
            site_address TEXT NOT NULL DEFAULT '',
            site_note TEXT NOT NULL DEFAULT '',
            last_installer TEXT NOT NULL DEFAULT '');
        CREATE TABLE settings(
            id INTEGER PRIMARY KEY,
            hash INTEGER NOT NULL,
            bytes BLOB NOT NULL);
        CREATE INDEX settings_hash ON settings(hash);
        CREATE TABLE visit(
            id INTEGER PRIMARY KEY,
            modem INTEGER NOT NULL REFERENCES modem(id),
            time INTEGER NOT NULL,
            operation TEXT NOT NULL,
            before INTEGER NOT NULL DEFAULT 0,
            detail TEXT NOT NULL DEFAULT '',
            port TEXT NOT NULL DEFAULT '',
            user INTEGER NOT NULL DEFAULT 0,
            installer TEXT NOT NULL DEFAULT '',
            firmware TEXT NOT NULL DEFAULT '',
            diagnostics TEXT NOT NULL DEFAULT '',
            meter TEXT NOT NULL DEFAULT '',
            settings INTEGER REFERENCES settings(id));
        CREATE INDEX visit_modem_time ON visit(modem, time);
    )sql"},
    // The list of modems shows each one's first and last visit and count without reading
    // every visit.
    Migration{2, R"sql(
        ALTER TABLE modem ADD COLUMN first_visit INTEGER NOT NULL DEFAULT 0;
        ALTER TABLE modem ADD COLUMN last_visit INTEGER NOT NULL DEFAULT 0;
        ALTER TABLE modem ADD COLUMN visits INTEGER NOT NULL DEFAULT 0;
        UPDATE modem SET
            first_visit = coalesce((SELECT min(time) FROM visit WHERE visit.modem = modem.id), 0),
            last_visit = coalesce((SELECT max(time) FROM visit WHERE visit.modem = modem.id), 0),
            visits = (SELECT count(*) FROM visit WHERE visit.modem = modem.id);
    )sql"},
};

int userVersion(SqliteDb& db) {
    SqliteStatement version(db, "PRAGMA user_version");
    return version.step() ? static_cast<int>(version.integer(0)) : 0;
}

// A database with tables but no version is some other program's: never written into.
bool holdsOtherTables(SqliteDb& db) {
    SqliteStatement tables(db, "SELECT count(*) FROM sqlite_master");
    return tables.step() && tables.integer(0) > 0;
}

[[noreturn]] void refuse(SqliteDb& db, ArchiveError::Kind kind, const std::string& why) {
    throw ArchiveError(kind, "файл «" + db.path() + "» " + why + "; он оставлен как есть");
}

void checkVersion(SqliteDb& db, int version) {
    if (version > kMigrations.back().version)
        refuse(db, ArchiveError::Kind::NewerSchema, "записан более новой версией программы");
    if (version == 0 && holdsOtherTables(db))
        refuse(db, ArchiveError::Kind::Corrupt, "не является архивом модемов");
}

}  // namespace

int archiveSchemaVersion() {
    return kMigrations.back().version;
}

void migrateArchive(SqliteDb& db) {
    if (userVersion(db) == archiveSchemaVersion())
        return;
    // Another program may be migrating the same file: the version is read again under the
    // write lock.
    SqliteTransaction transaction(db);
    const int version = userVersion(db);
    checkVersion(db, version);
    for (const Migration& migration : kMigrations) {
        if (migration.version <= version)
            continue;
        db.exec(migration.sql);
        db.exec(("PRAGMA user_version = " + std::to_string(migration.version)).c_str());
    }
    transaction.commit();
}

void refuseForeignArchive(SqliteDb& db) {
    checkVersion(db, userVersion(db));
}

void checkArchiveSchema(SqliteDb& db) {
    const int version = userVersion(db);
    checkVersion(db, version);
    if (version < archiveSchemaVersion())
        refuse(db, ArchiveError::Kind::Other,
               "записан старой версией программы; откройте его для записи");
}

}  // namespace zelar::archive
