#include <gtest/gtest.h>

#include "archive/archive_merge.h"
#include "archive/archive_queries.h"
#include "archive_folder.h"

namespace zelar::test {
namespace {

using namespace zelar::archive;

SettingsSnapshot withPhone(const std::string& phone) {
    SettingsSnapshot s;
    s.file.image.users[0].phone = phone;
    s.file.image.users[0].password = "1234";
    return s;
}

VisitEntry entry(UtcMillis time, VisitOperation operation, const SettingsSnapshot* settings,
                 bool before = false) {
    VisitEntry e = visit("7204518", time, settings ? encodeSnapshot(*settings) : "");
    e.operation = operation;
    e.before = before;
    return e;
}

// 12:00 UTC keeps the local date the same in every time zone from -11 to +11.
constexpr UtcMillis kDay = 24LL * 3600 * 1000;
constexpr UtcMillis kMarch12 = 20159 * kDay + 12 * 3600 * 1000;  // 2025-03-12 12:00 UTC

TEST(ArchiveQueries, TheLineAfterAReadCountsItsFields) {
    const std::pair<std::size_t, std::string> cases[] = {
        {0, "изменений нет"},      {1, "изменено 1 поле"},      {2, "изменено 2 поля"},
        {4, "изменено 4 поля"},    {5, "изменено 5 полей"},     {11, "изменено 11 полей"},
        {12, "изменено 12 полей"}, {14, "изменено 14 полей"},   {21, "изменено 21 поле"},
        {22, "изменено 22 поля"},  {111, "изменено 111 полей"}, {104, "изменено 104 поля"},
    };
    for (const auto& [changed, end] : cases) {
        EXPECT_EQ(readSummaryLine(kMarch12, kMarch12 + 204 * kDay, changed),
                  "В архиве с 12.03.2025, последний визит 02.10.2025: " + end);
    }
}

TEST(ArchiveQueries, AReadIsComparedWithTheLatestEntryHoldingSettings) {
    ArchiveFolder folder;
    auto store = openSqliteArchive(folder.file(), OpenMode::Write);
    const SettingsSnapshot now = withPhone("+79160000003");
    EXPECT_FALSE(readSummary(*store, "7204518", now));

    const SettingsSnapshot first = withPhone("+79160000001");
    const SettingsSnapshot second = withPhone("+79160000002");
    store->addVisit(entry(kMarch12, VisitOperation::Read, &first));
    store->addVisit(entry(kMarch12 + kDay, VisitOperation::PageWritten, &second));
    // A later entry without settings (a dictionary upload) is passed over.
    store->addVisit(entry(kMarch12 + 2 * kDay, VisitOperation::DictionaryUploaded, nullptr));
    const auto summary = readSummary(*store, "7204518", now);
    ASSERT_TRUE(summary);
    EXPECT_EQ(summary->line, "В архиве с 12.03.2025, последний визит 14.03.2025: изменено 1 поле");
    ASSERT_EQ(summary->differences.size(), 1u);
    EXPECT_EQ(summary->differences[0].first, "+79160000002");
    EXPECT_EQ(summary->differences[0].second, "+79160000003");
}

TEST(ArchiveQueries, AfterFirmwareTheReadIsComparedWithTheStateBeforeIt) {
    ArchiveFolder folder;
    auto store = openSqliteArchive(folder.file(), OpenMode::Write);
    const SettingsSnapshot old = withPhone("+79160000001");
    const SettingsSnapshot edited = withPhone("+79160000002");
    store->addVisit(entry(1000, VisitOperation::Read, &old));
    EXPECT_FALSE(firmwareCheck(*store, "7204518", old));  // no programming yet

    store->addVisit(entry(2000, VisitOperation::FirmwareProgrammed, &old, true));
    store->addVisit(entry(3000, VisitOperation::FirmwareProgrammed, nullptr));
    const auto kept = firmwareCheck(*store, "7204518", old);
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->text, "Настройки сохранились");
    EXPECT_TRUE(kept->changes.empty());
    EXPECT_EQ(kept->beforeEntry, 2);

    const auto changed = firmwareCheck(*store, "7204518", edited);
    ASSERT_TRUE(changed);
    EXPECT_EQ(changed->text, "Новая прошивка изменила 1 поле");
    EXPECT_EQ(changed->before.file.image.users[0].phone, "+79160000001");

    // Programmed again from another state: the latest state before counts.
    store->addVisit(entry(4000, VisitOperation::Read, &edited));
    EXPECT_FALSE(firmwareCheck(*store, "7204518", edited));
    store->addVisit(entry(5000, VisitOperation::FirmwareProgrammed, &edited, true));
    store->addVisit(entry(6000, VisitOperation::FirmwareProgrammed, nullptr));
    const auto second = firmwareCheck(*store, "7204518", edited);
    ASSERT_TRUE(second);
    EXPECT_EQ(second->text, "Настройки сохранились");
    EXPECT_EQ(second->beforeEntry, 5);
}

TEST(ArchiveQueries, EntriesAreNumberedFromOneAndTheLatestIsZero) {
    ArchiveFolder folder;
    auto store = openSqliteArchive(folder.file(), OpenMode::Write);
    const SettingsSnapshot a = withPhone("+79160000001");
    const SettingsSnapshot b = withPhone("+79160000002");
    store->addVisit(entry(kMarch12, VisitOperation::Read, &a));
    store->addVisit(entry(kMarch12 + kDay, VisitOperation::PageWritten, &b));
    store->addVisit(entry(kMarch12 + 2 * kDay, VisitOperation::DictionaryUploaded, nullptr));

    struct Case {
        int n;
        bool entry;
        std::string phone;  // of the settings file at n; empty for none
    };
    const Case cases[] = {{0, true, "+79160000002"},
                          {1, true, "+79160000001"},
                          {2, true, "+79160000002"},
                          {3, true, ""},
                          {4, false, ""},
                          {-1, false, ""}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.n);
        EXPECT_EQ(entryAt(*store, "7204518", c.n).has_value(), c.entry);
        const auto file = settingsFileAt(*store, "7204518", c.n);
        EXPECT_EQ(file ? file->image.users[0].phone : "", c.phone);
    }
    EXPECT_EQ(entryAt(*store, "7204518", 0)->operation, VisitOperation::DictionaryUploaded);
    EXPECT_EQ(settingsFileAt(*store, "7204518", 1)->created, localDateTime(kMarch12));
    EXPECT_EQ(settingsFileAt(*store, "7204518", 0)->created, localDateTime(kMarch12 + kDay));
    EXPECT_FALSE(entryAt(*store, "1", 0));
}

TEST(ArchiveQueries, TwoEntriesAreComparedOrTheReasonIsGiven) {
    ArchiveFolder folder;
    auto store = openSqliteArchive(folder.file(), OpenMode::Write);
    const SettingsSnapshot a = withPhone("+79160000001");
    const SettingsSnapshot b = withPhone("+79160000002");
    store->addVisit(entry(1, VisitOperation::Read, &a));
    store->addVisit(entry(2, VisitOperation::DictionaryUploaded, nullptr));
    store->addVisit(entry(3, VisitOperation::PageWritten, &b));
    struct Case {
        int a, b;
        std::size_t differences;
        std::string error;
    };
    const Case cases[] = {
        {1, 3, 1, ""},
        {1, 0, 1, ""},
        {3, 0, 0, ""},
        {1, 1, 0, ""},
        {1, 4, 0, "нет записи 4"},
        {5, 1, 0, "нет записи 5"},
        {2, 3, 0, "в записи 2 нет настроек"},
        {1, 2, 0, "в записи 2 нет настроек"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.a) + " " + std::to_string(c.b));
        const EntryDiff diff = diffEntries(*store, "7204518", c.a, c.b);
        EXPECT_EQ(diff.error, c.error);
        EXPECT_EQ(diff.differences.size(), c.differences);
    }
    EXPECT_EQ(diffEntries(*store, "1", 0, 0).error, "нет записи 0");
}

TEST(ArchiveQueries, TwoArchivesMergeBySerialAndTimeNothingTwice) {
    ArchiveFolder folder;
    auto mine = openSqliteArchive(folder.file("mine.sqlite"), OpenMode::Write);
    auto theirs = openSqliteArchive(folder.file("theirs.sqlite"), OpenMode::Write);
    const SettingsSnapshot a = withPhone("+79160000001");
    mine->addVisit(entry(1000, VisitOperation::Read, &a));
    mine->setSite("7204518", {"Мой склад", "", ""});
    theirs->addVisit(entry(1000, VisitOperation::Read, &a));  // the same visit, both archives
    theirs->addVisit(entry(2000, VisitOperation::PageWritten, &a));
    theirs->setSite("7204518", {"Их склад", "", ""});
    theirs->addVisit(visit("7300001", 500));
    theirs->setSite("7300001", {"Офис", "Main st.", "note"});

    const MergeCount first = mergeArchive(*theirs, *mine);
    EXPECT_EQ(first.entries, 2u);
    EXPECT_EQ(first.skipped, 1u);
    EXPECT_EQ(first.modems, 2u);
    const MergeCount again = mergeArchive(*theirs, *mine);
    EXPECT_EQ(again.entries, 0u);
    EXPECT_EQ(again.skipped, 3u);
    EXPECT_EQ(again.modems, 0u);

    const auto history = mine->history("7204518");
    ASSERT_EQ(history.size(), 2u);
    EXPECT_EQ(decodeSnapshot(mine->settingsOf(history[1].id))->file.image.users[0].phone,
              "+79160000001");
    EXPECT_EQ(mine->modem("7204518")->site.name, "Мой склад");  // a site given stays
    EXPECT_EQ(mine->modem("7300001")->site.address, "Main st.");
    EXPECT_EQ(mine->modem("7300001")->visits, 1);
}

}  // namespace
}  // namespace zelar::test
