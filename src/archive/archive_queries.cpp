#include "archive/archive_queries.h"

namespace zelar::archive {

namespace {

// "поле", "поля" or "полей" after the number `n`.
std::string fields(std::size_t n) {
    const std::size_t last = n % 10;
    const std::size_t lastTwo = n % 100;
    if (last == 1 && lastTwo != 11)
        return "поле";
    if (last >= 2 && last <= 4 && (lastTwo < 12 || lastTwo > 14))
        return "поля";
    return "полей";
}

// The latest entry holding settings, among the first `count` entries.
const VisitEntry* latestWithSettings(ArchiveStore& store, const std::vector<VisitEntry>& entries,
                                     std::string& bytes) {
    for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
        bytes = store.settingsOf(it->id);
        if (!bytes.empty())
            return &*it;
    }
    return nullptr;
}

}  // namespace

std::string readSummaryLine(UtcMillis firstVisit, UtcMillis lastVisit, std::size_t changed) {
    std::string line =
        "В архиве с " + localDate(firstVisit) + ", последний визит " + localDate(lastVisit) + ": ";
    if (changed == 0)
        return line + "изменений нет";
    return line + "изменено " + std::to_string(changed) + " " + fields(changed);
}

std::optional<ReadSummary> readSummary(ArchiveStore& store, const std::string& serial,
                                       const SettingsSnapshot& now) {
    const auto modem = store.modem(serial);
    if (!modem || modem->visits == 0)
        return std::nullopt;
    ReadSummary summary;
    std::string bytes;
    if (latestWithSettings(store, store.history(serial), bytes) != nullptr) {
        if (const auto last = decodeSnapshot(bytes))
            summary.differences = compareSnapshots(*last, now);
    }
    summary.line = readSummaryLine(modem->firstVisit, modem->lastVisit, summary.differences.size());
    return summary;
}

std::optional<FirmwareCheck> firmwareCheck(ArchiveStore& store, const std::string& serial,
                                           const SettingsSnapshot& now) {
    const std::vector<VisitEntry> entries = store.history(serial);
    if (entries.empty() || entries.back().operation != VisitOperation::FirmwareProgrammed)
        return std::nullopt;
    for (std::size_t i = entries.size(); i-- > 0;) {
        const VisitEntry& entry = entries[i];
        if (entry.operation != VisitOperation::FirmwareProgrammed || !entry.before)
            continue;
        const auto before = decodeSnapshot(store.settingsOf(entry.id));
        if (!before)
            return std::nullopt;
        FirmwareCheck check;
        check.changes = compareSnapshots(*before, now);
        check.text = check.changes.empty()
                         ? std::string(kTextSettingsKept)
                         : "Новая прошивка изменила " + std::to_string(check.changes.size()) + " " +
                               fields(check.changes.size());
        check.before = *before;
        check.beforeEntry = static_cast<int>(i) + 1;
        return check;
    }
    return std::nullopt;
}

std::optional<VisitEntry> entryAt(ArchiveStore& store, const std::string& serial, int n) {
    const std::vector<VisitEntry> entries = store.history(serial);
    if (entries.empty() || n < 0 || n > static_cast<int>(entries.size()))
        return std::nullopt;
    return n == 0 ? entries.back() : entries[static_cast<std::size_t>(n) - 1];
}

std::optional<SettingsSnapshot> snapshotAt(ArchiveStore& store, const std::string& serial, int n) {
    std::string bytes;
    if (n == 0) {
        if (latestWithSettings(store, store.history(serial), bytes) == nullptr)
            return std::nullopt;
        return decodeSnapshot(bytes);
    }
    const auto entry = entryAt(store, serial, n);
    if (!entry)
        return std::nullopt;
    return decodeSnapshot(store.settingsOf(entry->id));
}

std::optional<SettingsFileContent> settingsFileAt(ArchiveStore& store, const std::string& serial,
                                                  int n) {
    const std::vector<VisitEntry> entries = store.history(serial);
    std::string bytes;
    const VisitEntry* entry = nullptr;
    if (n == 0) {
        entry = latestWithSettings(store, entries, bytes);
    } else if (n > 0 && n <= static_cast<int>(entries.size())) {
        entry = &entries[static_cast<std::size_t>(n) - 1];
        bytes = store.settingsOf(entry->id);
    }
    const auto snapshot = entry ? decodeSnapshot(bytes) : std::nullopt;
    if (!snapshot)
        return std::nullopt;
    SettingsFileContent content = snapshot->file;
    // The file as saved at that visit: its first line says when.
    content.created = localDateTime(entry->time);
    return content;
}

EntryDiff diffEntries(ArchiveStore& store, const std::string& serial, int a, int b) {
    const int count = static_cast<int>(store.history(serial).size());
    EntryDiff diff;
    for (const int n : {a, b}) {
        if (n < 0 || n > count || (n == 0 && count == 0)) {
            diff.error = "нет записи " + std::to_string(n);
            return diff;
        }
    }
    const auto first = snapshotAt(store, serial, a);
    const auto second = snapshotAt(store, serial, b);
    if (!first || !second) {
        diff.error = "в записи " + std::to_string(first ? b : a) + " нет настроек";
        return diff;
    }
    diff.differences = compareSnapshots(*first, *second);
    return diff;
}

}  // namespace zelar::archive
