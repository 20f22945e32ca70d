#include "archive/archive_merge.h"

namespace zelar::archive {

namespace {

bool blank(const ModemSite& site) {
    return site.name.empty() && site.address.empty() && site.note.empty();
}

}  // namespace

MergeCount mergeArchive(ArchiveStore& from, ArchiveStore& into) {
    MergeCount count;
    for (const ArchivedModem& modem : from.modems("")) {
        std::vector<VisitEntry> entries = from.history(modem.serial);
        for (VisitEntry& entry : entries)
            entry.settings = from.settingsOf(entry.id);
        const std::size_t added = into.addVisitsOnce(entries);
        count.entries += added;
        count.skipped += entries.size() - added;
        bool siteTaken = false;
        if (!blank(modem.site)) {
            const auto known = into.modem(modem.serial);
            if (!known || blank(known->site)) {
                into.setSite(modem.serial, modem.site);
                siteTaken = true;
            }
        }
        if (added > 0 || siteTaken)
            ++count.modems;
    }
    return count;
}

}  // namespace zelar::archive
