#include <sqlite3.h>

#include <memory>

#include "archive/archive_schema.h"
#include "archive/archive_store.h"
#include "archive/sqlite_db.h"

namespace zelar::archive {

namespace {

// FNV-1a over the bytes: finds equal settings fast; the bytes themselves decide.
std::int64_t contentHash(std::string_view bytes) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    return static_cast<std::int64_t>(hash);
}

// Latin and Cyrillic capitals as small letters (UTF-8), for a filter that finds "Склад" when
// "склад" is typed; every other byte as it stands.
std::string folded(std::string_view text) {
    std::string out(text);
    for (std::size_t i = 0; i < out.size(); ++i) {
        const auto c = static_cast<unsigned char>(out[i]);
        if (c >= 'A' && c <= 'Z') {
            out[i] = static_cast<char>(c + 32);
        } else if (c == 0xD0 && i + 1 < out.size()) {
            const auto next = static_cast<unsigned char>(out[i + 1]);
            if (next >= 0x90 && next <= 0x9F) {  // А to П
                out[i + 1] = static_cast<char>(next + 0x20);
            } else if (next >= 0xA0 && next <= 0xAF) {  // Р to Я
                out[i] = static_cast<char>(0xD1);
                out[i + 1] = static_cast<char>(next - 0x20);
            } else if (next == 0x81) {  // Ё
                out[i] = static_cast<char>(0xD1);
                out[i + 1] = static_cast<char>(0x91);
            }
            ++i;
        }
    }
    return out;
}

void foldFunction(sqlite3_context* context, int, sqlite3_value** values) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(values[0]));
    const std::string out = folded(
        text ? std::string_view(text, static_cast<std::size_t>(sqlite3_value_bytes(values[0])))
             : std::string_view());
    sqlite3_result_text(context, out.data(), static_cast<int>(out.size()), SQLITE_TRANSIENT);
}

// `text` for LIKE on folded columns, its wildcards taken as themselves.
std::string likePattern(const std::string& text) {
    std::string pattern = "%";
    for (const char c : folded(text)) {
        if (c == '%' || c == '_' || c == '\\')
            pattern += '\\';
        pattern += c;
    }
    return pattern + "%";
}

constexpr const char* kModemColumns =
    "SELECT serial, site_name, site_address, site_note, last_installer, first_visit, "
    "last_visit, visits FROM modem ";

ArchivedModem modemRow(const SqliteStatement& row) {
    ArchivedModem modem;
    modem.serial = row.text(0);
    modem.site = {row.text(1), row.text(2), row.text(3)};
    modem.lastInstaller = row.text(4);
    modem.firstVisit = row.integer(5);
    modem.lastVisit = row.integer(6);
    modem.visits = static_cast<int>(row.integer(7));
    return modem;
}

class SqliteArchive : public ArchiveStore {
  public:
    SqliteArchive(const std::string& path, OpenMode mode, int busyTimeoutMs)
        : db_(path, mode, busyTimeoutMs) {
        sqlite3_create_function_v2(db_.handle(), "folded", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC,
                                   nullptr, foldFunction, nullptr, nullptr, nullptr);
        if (mode == OpenMode::Read) {
            checkArchiveSchema(db_);
            return;
        }
        refuseForeignArchive(db_);
        // Readers and writers of other processes go on side by side. In WAL mode a commit
        // survives the process being killed at any moment without waiting for the disk; only a
        // power cut may take back the last entries, never corrupt the file.
        db_.exec("PRAGMA journal_mode = WAL");
        db_.exec("PRAGMA synchronous = NORMAL");
        // Each zelar-cli command opens and closes the archive: the WAL is folded into the file
        // when it grows, not at every close (which would wait for the disk each time).
        sqlite3_db_config(db_.handle(), SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
        migrateArchive(db_);
    }

    std::int64_t addVisit(const VisitEntry& entry) override {
        SqliteTransaction transaction(db_);
        const std::int64_t id = insertVisit(modemId(entry.serial), entry);
        transaction.commit();
        return id;
    }

    bool addVisitOnce(const VisitEntry& entry) override { return addVisitsOnce({entry}) == 1; }

    std::size_t addVisitsOnce(const std::vector<VisitEntry>& entries) override {
        SqliteTransaction transaction(db_);
        std::size_t added = 0;
        for (const VisitEntry& entry : entries) {
            const std::int64_t modem = modemId(entry.serial);
            if (holds(modem, entry))
                continue;
            insertVisit(modem, entry);
            ++added;
        }
        transaction.commit();
        return added;
    }

    std::vector<ArchivedModem> modems(const std::string& filter) override {
        SqliteStatement select(
            db_, filter.empty()
                     ? (std::string(kModemColumns) + "ORDER BY serial").c_str()
                     : (std::string(kModemColumns) + "WHERE serial LIKE ?1 ESCAPE '\\' OR "
                                                     "folded(site_name) LIKE ?1 ESCAPE '\\' OR "
                                                     "folded(site_address) LIKE ?1 ESCAPE '\\' "
                                                     "ORDER BY serial")
                           .c_str());
        if (!filter.empty())
            select.bind(1, likePattern(filter));
        std::vector<ArchivedModem> list;
        while (select.step())
            list.push_back(modemRow(select));
        return list;
    }

    std::optional<ArchivedModem> modem(const std::string& serial) override {
        SqliteStatement select(db_, (std::string(kModemColumns) + "WHERE serial = ?").c_str());
        select.bind(1, serial);
        if (!select.step())
            return std::nullopt;
        return modemRow(select);
    }

    void setSite(const std::string& serial, const ModemSite& site) override {
        SqliteTransaction transaction(db_);
        SqliteStatement update(db_,
                               "UPDATE modem SET site_name = ?, site_address = ?, site_note = ? "
                               "WHERE id = ?");
        update.bind(1, site.name).bind(2, site.address).bind(3, site.note);
        update.bind(4, modemId(serial)).run();
        transaction.commit();
    }

    std::vector<VisitEntry> history(const std::string& serial) override;
    std::string settingsOf(std::int64_t entryId) override;

    void seal() override {
        db_.exec("PRAGMA wal_checkpoint(TRUNCATE)");
        db_.exec("PRAGMA journal_mode = DELETE");
    }

  private:
    std::int64_t modemId(const std::string& serial) {
        SqliteStatement insert(db_, "INSERT OR IGNORE INTO modem(serial) VALUES (?)");
        insert.bind(1, serial).run();
        SqliteStatement select(db_, "SELECT id FROM modem WHERE serial = ?");
        select.bind(1, serial);
        select.step();
        return select.integer(0);
    }

    bool holds(std::int64_t modem, const VisitEntry& entry) {
        SqliteStatement present(db_,
                                "SELECT 1 FROM visit WHERE modem = ? AND time = ? AND "
                                "operation = ? AND before = ? AND port = ?");
        present.bind(1, modem).bind(2, entry.time).bind(3, operationKey(entry.operation));
        present.bind(4, std::int64_t{entry.before}).bind(5, entry.port);
        return present.step();
    }

    std::optional<std::int64_t> settingsId(const std::string& bytes);
    std::int64_t insertVisit(std::int64_t modem, const VisitEntry& entry);

    SqliteDb db_;
};

std::optional<std::int64_t> SqliteArchive::settingsId(const std::string& bytes) {
    if (bytes.empty())
        return std::nullopt;
    const std::int64_t hash = contentHash(bytes);
    SqliteStatement same(db_, "SELECT id, bytes FROM settings WHERE hash = ?");
    same.bind(1, hash);
    while (same.step()) {
        if (same.text(1) == bytes)
            return same.integer(0);
    }
    SqliteStatement insert(db_, "INSERT INTO settings(hash, bytes) VALUES (?, ?)");
    insert.bind(1, hash).bindBlob(2, bytes).run();
    return sqlite3_last_insert_rowid(db_.handle());
}

std::int64_t SqliteArchive::insertVisit(std::int64_t modem, const VisitEntry& e) {
    const auto settings = settingsId(e.settings);
    SqliteStatement insert(db_,
                           "INSERT INTO visit(modem, time, operation, before, detail, port, user, "
                           "installer, firmware, diagnostics, meter, settings) VALUES "
                           "(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    insert.bind(1, modem).bind(2, e.time).bind(3, operationKey(e.operation));
    insert.bind(4, std::int64_t{e.before}).bind(5, e.detail).bind(6, e.port);
    insert.bind(7, std::int64_t{e.user}).bind(8, e.installer).bind(9, e.firmwareVersion);
    insert.bind(10, e.diagnostics).bind(11, e.meter);
    if (settings)
        insert.bind(12, *settings);
    else
        insert.bindNull(12);
    insert.run();
    const std::int64_t id = sqlite3_last_insert_rowid(db_.handle());
    // The modem's figures follow its visits; the last installer is the latest visit's that
    // names one (an import may bring older visits).
    SqliteStatement update(db_,
                           "UPDATE modem SET "
                           "first_visit = CASE WHEN visits = 0 OR ?1 < first_visit THEN ?1 "
                           "ELSE first_visit END, "
                           "last_visit = max(last_visit, ?1), visits = visits + 1, "
                           "last_installer = CASE WHEN ?2 <> '' AND (visits = 0 OR ?1 >= "
                           "last_visit) THEN ?2 ELSE last_installer END "
                           "WHERE id = ?3");
    update.bind(1, e.time).bind(2, e.installer).bind(3, modem).run();
    return id;
}

std::vector<VisitEntry> SqliteArchive::history(const std::string& serial) {
    SqliteStatement select(db_,
                           "SELECT v.id, v.time, v.operation, v.before, v.detail, v.port, v.user, "
                           "v.installer, v.firmware, v.diagnostics, v.meter FROM visit v JOIN "
                           "modem m ON m.id = v.modem WHERE m.serial = ? ORDER BY v.time, v.id");
    select.bind(1, serial);
    std::vector<VisitEntry> entries;
    while (select.step()) {
        VisitEntry e;
        e.id = select.integer(0);
        e.serial = serial;
        e.time = select.integer(1);
        // An operation this program does not know (a newer one wrote it) reads as a read.
        e.operation = operationFromKey(select.text(2)).value_or(VisitOperation::Read);
        e.before = select.integer(3) != 0;
        e.detail = select.text(4);
        e.port = select.text(5);
        e.user = static_cast<int>(select.integer(6));
        e.installer = select.text(7);
        e.firmwareVersion = select.text(8);
        e.diagnostics = select.text(9);
        e.meter = select.text(10);
        entries.push_back(std::move(e));
    }
    return entries;
}

std::string SqliteArchive::settingsOf(std::int64_t entryId) {
    SqliteStatement select(db_,
                           "SELECT s.bytes FROM visit v JOIN settings s ON s.id = v.settings "
                           "WHERE v.id = ?");
    select.bind(1, entryId);
    return select.step() ? select.text(0) : std::string();
}

}  // namespace

std::unique_ptr<ArchiveStore> openSqliteArchive(const std::string& path, OpenMode mode,
                                                int busyTimeoutMs) {
    return std::make_unique<SqliteArchive>(path, mode, busyTimeoutMs);
}

}  // namespace zelar::archive
