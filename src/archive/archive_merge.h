#pragma once

#include <cstddef>

#include "archive/archive_store.h"

namespace zelar::archive {

struct MergeCount {
    std::size_t modems = 0;   // modems that got an entry or their site
    std::size_t entries = 0;  // entries added
    std::size_t skipped = 0;  // entries the target held already
};

// Every modem of `from` with its site and entries into `into`, merged by serial and time:
// an entry already there is not added twice; a site's details are taken where `into` has none.
MergeCount mergeArchive(ArchiveStore& from, ArchiveStore& into);

}  // namespace zelar::archive
