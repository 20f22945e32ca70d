#include "archive/archive_merge.h"

namespace zelar::archive {

MergeCount mergeArchive(ArchiveStore& from, ArchiveStore& into) {
    (void)from;
    (void)into;
    return {};
}

}  // namespace zelar::archive
