#include <sqlite3.h>

#include "archive/archive_store.h"

namespace zelar::archive {

std::unique_ptr<ArchiveStore> openSqliteArchive(const std::string&, OpenMode) {
    throw ArchiveError(ArchiveError::Kind::Other, "not yet");
}
int archiveSchemaVersion() {
    return 1;
}

}  // namespace zelar::archive
