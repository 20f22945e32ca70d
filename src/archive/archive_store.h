#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "archive/archive_types.h"

namespace zelar::archive {

// Why the archive could not do what was asked. The operation on the modem never depends on
// it: the caller says "Архив не записан: " + what() and goes on.
class ArchiveError : public std::runtime_error {
  public:
    enum class Kind { Locked, ReadOnly, Full, Corrupt, NewerSchema, Missing, Other };
    ArchiveError(Kind kind, const std::string& text) : std::runtime_error(text), kind_(kind) {}
    Kind kind() const { return kind_; }

  private:
    Kind kind_;
};

// The storage of the archive, narrow so that another engine (a company's database server) can
// take SQLite's place. Every call is whole or nothing; failures throw ArchiveError.
class ArchiveStore {
  public:
    virtual ~ArchiveStore() = default;

    // Stores the entry and its settings (by content) in one transaction, creating the modem
    // when new and taking its installer as the modem's last one. The entry's id.
    virtual std::int64_t addVisit(const VisitEntry& entry) = 0;
    // The same, unless an entry of this serial with the same time, operation, `before` and
    // port is there already (an import merging archives); false then.
    virtual bool addVisitOnce(const VisitEntry& entry) = 0;
    // addVisitOnce for each, all in one transaction (an import, a modem at a time); how many
    // were added.
    virtual std::size_t addVisitsOnce(const std::vector<VisitEntry>& entries) = 0;

    // The modems whose serial, site name or address holds `filter` (Latin and Cyrillic letters
    // in either case), all of them for an empty filter; by serial.
    virtual std::vector<ArchivedModem> modems(const std::string& filter) = 0;
    virtual std::optional<ArchivedModem> modem(const std::string& serial) = 0;
    // Creates the modem when new.
    virtual void setSite(const std::string& serial, const ModemSite& site) = 0;

    // A modem's entries, oldest first, without their settings (entry n of the command line is
    // element n - 1).
    virtual std::vector<VisitEntry> history(const std::string& serial) = 0;
    // The settings bytes of an entry; empty when it holds none.
    virtual std::string settingsOf(std::int64_t entryId) = 0;

    // Makes the file whole on its own, with nothing kept beside it, before it is copied or
    // renamed; the store takes no more entries afterwards.
    virtual void seal() {}
};

enum class OpenMode {
    // Creates the file (mode 0600) and its schema when missing; migrates an older schema.
    Write,
    // Never creates nor changes anything; a missing file throws ArchiveError (Missing).
    Read,
};

// How long a writer waits for another one before the archive counts as locked.
inline constexpr int kArchiveBusyTimeoutMs = 5000;

// The SQLite archive in `path`: WAL mode, a busy time-out, the schema at its newest version.
// A file that is no archive or is damaged throws (Corrupt) and is left as it was.
std::unique_ptr<ArchiveStore> openSqliteArchive(const std::string& path, OpenMode mode,
                                                int busyTimeoutMs = kArchiveBusyTimeoutMs);

// The schema version this program writes (PRAGMA user_version).
int archiveSchemaVersion();

}  // namespace zelar::archive
