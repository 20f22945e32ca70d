#include "archive/archive_queries.h"

namespace zelar::archive {

std::optional<ReadSummary> readSummary(ArchiveStore&, const std::string&, const SettingsSnapshot&) {
    return std::nullopt;
}
std::string readSummaryLine(UtcMillis, UtcMillis, std::size_t) {
    return {};
}
std::optional<FirmwareCheck> firmwareCheck(ArchiveStore&, const std::string&,
                                           const SettingsSnapshot&) {
    return std::nullopt;
}
std::optional<VisitEntry> entryAt(ArchiveStore&, const std::string&, int) {
    return std::nullopt;
}
std::optional<SettingsSnapshot> snapshotAt(ArchiveStore&, const std::string&, int) {
    return std::nullopt;
}
std::optional<SettingsFileContent> settingsFileAt(ArchiveStore&, const std::string&, int) {
    return std::nullopt;
}
EntryDiff diffEntries(ArchiveStore&, const std::string&, int, int) {
    return {};
}

}  // namespace zelar::archive
