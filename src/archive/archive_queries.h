#pragma once

#include <optional>
#include <string>
#include <vector>

#include "archive/archive_store.h"
#include "archive/settings_snapshot.h"

namespace zelar::archive {

// What the window says after a read of a modem the archive knows.
struct ReadSummary {
    // "В архиве с 12.03.2025, последний визит 02.10.2026: изменено 3 поля"
    std::string line;
    // From the last visit's settings to the read's, for the compare dialog.
    std::vector<SettingsDifference> differences;
};

// For a read of `serial` giving `now`, asked before the read's own entry is stored. Nothing for
// a modem the archive does not know.
std::optional<ReadSummary> readSummary(ArchiveStore& store, const std::string& serial,
                                       const SettingsSnapshot& now);
// The line from its figures, dates in local time.
std::string readSummaryLine(UtcMillis firstVisit, UtcMillis lastVisit, std::size_t changed);

inline constexpr const char* kTextSettingsKept = "Настройки сохранились";

// The read after firmware programming against the entry taken before it.
struct FirmwareCheck {
    // kTextSettingsKept, or "Новая прошивка изменила N полей" before the list.
    std::string text;
    std::vector<SettingsDifference> changes;
    // The state before programming, for "Вернуть как было"; its entry number (from 1).
    SettingsSnapshot before;
    int beforeEntry = 0;
};

// Nothing unless the modem's last entry before this read is a firmware programming.
std::optional<FirmwareCheck> firmwareCheck(ArchiveStore& store, const std::string& serial,
                                           const SettingsSnapshot& now);

// Entry `n` of the modem's history (from 1; 0 = the latest). Nothing when there is no such
// entry.
std::optional<VisitEntry> entryAt(ArchiveStore& store, const std::string& serial, int n);
// The settings an entry holds; nothing when there is no entry or it holds none.
std::optional<SettingsSnapshot> snapshotAt(ArchiveStore& store, const std::string& serial, int n);
// The settings file `backup` would have written at entry `n` (0 = the latest holding
// settings): what "open a visit as a settings file" and `archive export` use.
std::optional<SettingsFileContent> settingsFileAt(ArchiveStore& store, const std::string& serial,
                                                  int n);

// The differences from entry `a` to entry `b` (0 = the latest), or why there are none to give.
struct EntryDiff {
    std::vector<SettingsDifference> differences;
    std::string error;  // "нет записи 7", "в записи 2 нет настроек"
};
EntryDiff diffEntries(ArchiveStore& store, const std::string& serial, int a, int b);

// The local date "02.10.2026" and date and time "02.10.2026 14:05:09" of a stored time, and
// its ISO 8601 form in UTC "2026-10-02T11:05:09Z".
std::string localDate(UtcMillis time);
std::string localDateTime(UtcMillis time);
std::string isoUtc(UtcMillis time);
// The current time.
UtcMillis utcNow();

}  // namespace zelar::archive
