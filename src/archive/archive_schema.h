#pragma once

#include "archive/sqlite_db.h"

namespace zelar::archive {

// Brings the archive's schema from whatever version it has (0 for a new file) to the newest,
// each step one transaction. A file of a newer program, or a database that is no archive,
// throws and is left as it was.
void migrateArchive(SqliteDb& db);

// Throws for a file this program must not change: a newer program's archive, or a database
// that is no archive. Asked before anything is written, the journal mode included.
void refuseForeignArchive(SqliteDb& db);

// Throws unless the archive's schema is the newest (for a file opened to read only).
void checkArchiveSchema(SqliteDb& db);

}  // namespace zelar::archive
