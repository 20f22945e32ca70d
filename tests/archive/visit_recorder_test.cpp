#include "app/archive/visit_recorder.h"

#include <gtest/gtest.h>

#include <fstream>

#include "app/archive/app_snapshot.h"
#include "app/archive/archive_setting.h"
#include "app/file_session/file_menu.h"
#include "app/service/service_window.h"
#include "app/shell/login.h"
#include "app/shell/read_settings.h"
#include "app/sim_fixture.h"
#include "archive_folder.h"
#include "files/factory_defaults.h"
#include "settings/memory_map.h"

namespace zelar::test {
namespace {

using archive::VisitOperation;

// The App of the simulated modem with the archive kept in a file of its own.
class RecorderTest : public SimFixture {
  protected:
    RecorderTest()
        : recorder(
              [this] {
                  return archive::openSqliteArchive(folder.file(), archive::OpenMode::Write);
              },
              [this] { return now += 60000; }) {
        recorder.onFailure = [this](const std::string& text) { failures.push_back(text); };
        recorder.installer = "Иванов";
        app.archive = &recorder;
    }

    std::vector<archive::VisitEntry> history() {
        return archive::openSqliteArchive(folder.file(), archive::OpenMode::Read)
            ->history("7204518");
    }
    std::optional<archive::SettingsSnapshot> settingsAt(int n) {
        auto store = archive::openSqliteArchive(folder.file(), archive::OpenMode::Read);
        return archive::snapshotAt(*store, "7204518", n);
    }

    ArchiveFolder folder;
    archive::UtcMillis now = 1'700'000'000'000;
    VisitRecorder recorder;
    std::vector<std::string> failures;
};

TEST_F(RecorderTest, NothingIsCreatedBeforeAVisit) {
    EXPECT_FALSE(std::filesystem::exists(folder.file()));
    app.archive = nullptr;
    btnReadNastUserClick(app);
    EXPECT_FALSE(std::filesystem::exists(folder.file()));
}

TEST_F(RecorderTest, AReadIsOneEntryHoldingWhatItFetchedAndTheNextReadIsComparedWithIt) {
    btnReadNastUserClick(app);
    ASSERT_TRUE(app.settingsRead);
    auto entries = history();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].operation, VisitOperation::Read);
    EXPECT_FALSE(entries[0].before);
    EXPECT_EQ(entries[0].port, "COM1");
    EXPECT_EQ(entries[0].firmwareVersion, "2.05");
    EXPECT_EQ(entries[0].installer, "Иванов");
    EXPECT_EQ(entries[0].time, 1'700'000'060'000);
    const auto first = settingsAt(1);
    ASSERT_TRUE(first);
    EXPECT_TRUE(archive::compareSnapshots(*first, appSnapshot(app)).empty());
    EXPECT_TRUE(first->voice.has_value());
    EXPECT_FALSE(recorder.lastReadSummary());  // a modem the archive did not know

    // Read again, unchanged: known, nothing changed.
    btnReadNastUserClick(app);
    ASSERT_TRUE(recorder.lastReadSummary());
    EXPECT_TRUE(recorder.lastReadSummary()->line.ends_with(": изменений нет"));

    // Another tool changed the object's system number meanwhile.
    memory(memory_address::kMainSystem) ^= 0x01;
    btnReadNastUserClick(app);
    ASSERT_TRUE(recorder.lastReadSummary());
    EXPECT_TRUE(recorder.lastReadSummary()->line.ends_with(": изменено 1 поле"));
    ASSERT_EQ(recorder.lastReadSummary()->differences.size(), 1u);
    EXPECT_EQ(recorder.lastReadSummary()->differences[0].field, "Основной номер системы");
    EXPECT_EQ(history().size(), 3u);
    EXPECT_TRUE(failures.empty());
}

TEST_F(RecorderTest, FactoryDefaultsKeepTheStateBeforeThemForWritingBack) {
    btnReadNastUserClick(app);
    ASSERT_TRUE(logInAs(app, 1, "1234"));
    FormSetupShow(app);
    ASSERT_TRUE(ButtonSetDefaultClick(app));
    const auto entries = history();
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[1].operation, VisitOperation::FactoryDefaults);
    EXPECT_TRUE(entries[1].before);
    EXPECT_EQ(entries[1].user, 1);
    EXPECT_EQ(entries[2].operation, VisitOperation::FactoryDefaults);
    EXPECT_FALSE(entries[2].before);
    // The state before is the read's, stored once for both entries; after it, the factory's.
    EXPECT_EQ(sqlValue(folder.file(), "SELECT count(*) FROM settings"), "2");
    const auto before = settingsAt(2);
    const auto after = settingsAt(3);
    ASSERT_TRUE(before && after);
    EXPECT_TRUE(archive::compareSnapshots(*settingsAt(1), *before).empty());
    EXPECT_EQ(after->file.image.users[0].password, "7391");
    EXPECT_FALSE(archive::compareSnapshots(*before, *after).empty());
}

TEST_F(RecorderTest, AFailedOperationRecordsNoStateAfterIt) {
    btnReadNastUserClick(app);
    ASSERT_TRUE(logInAs(app, 1, "1234"));
    FormSetupShow(app);
    modem.options().faults.stopAfterCommands = modem.commandsSeen();
    EXPECT_FALSE(ButtonSetDefaultClick(app));
    const auto entries = history();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_TRUE(entries[1].before);
}

TEST_F(RecorderTest, AnArchiveThatCannotBeWrittenIsToldOnceAndTheWorkGoesOn) {
    VisitRecorder broken([]() -> std::unique_ptr<archive::ArchiveStore> {
        throw archive::ArchiveError(archive::ArchiveError::Kind::Locked, "занят");
    });
    broken.onFailure = [this](const std::string& text) { failures.push_back(text); };
    app.archive = &broken;
    btnReadNastUserClick(app);
    EXPECT_TRUE(app.settingsRead);
    btnReadNastUserClick(app);
    EXPECT_TRUE(app.settingsRead);
    EXPECT_EQ(failures, std::vector<std::string>{"Архив не записан: занят"});
    EXPECT_TRUE(broken.failed());
    EXPECT_FALSE(broken.lastReadSummary());
}

TEST_F(RecorderTest, ACorruptArchiveIsNamedAndKept) {
    { std::ofstream(folder.file()) << "no database"; }
    btnReadNastUserClick(app);
    btnReadNastUserClick(app);
    EXPECT_TRUE(app.settingsRead);
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_TRUE(failures[0].starts_with("Архив не записан: "));
    EXPECT_NE(failures[0].find(folder.file()), std::string::npos);
    std::ifstream in(folder.file());
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "no database");
}

TEST_F(RecorderTest, ASettingsFileOnThePagesIsNoVisit) {
    btnReadNastUserClick(app);
    ASSERT_TRUE(MenuNewFileClick(app));
    app.archive->after(app, VisitOperation::PageWritten, "");
    EXPECT_EQ(history().size(), 1u);
}

TEST_F(RecorderTest, AFileWrittenIntoTheModemLastReadOnThePortIsItsVisit) {
    btnReadNastUserClick(app);
    memory(memory_address::kMainSystem) = 42;  // what a file does not carry stays the modem's
    btnReadNastUserClick(app);
    ASSERT_TRUE(MenuNewFileClick(app));
    dialogs.answers.push_back(MessageResult::Yes);
    ASSERT_TRUE(MenuWriteFileClick(app));
    const auto entries = history();
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[2].operation, VisitOperation::FileWritten);
    EXPECT_TRUE(entries[2].before);
    EXPECT_TRUE(archive::compareSnapshots(*settingsAt(2), *settingsAt(3)).empty());
    EXPECT_EQ(entries[3].operation, VisitOperation::FileWritten);
    EXPECT_FALSE(entries[3].before);
    const auto after = settingsAt(4);
    ASSERT_TRUE(after);
    EXPECT_EQ(after->file.image.users[0].password, "7391");
    EXPECT_EQ(after->file.image.mainSystem, 42);
}

TEST(ArchiveSetting, ModemIniSaysWhetherAndWhere) {
    struct Case {
        std::optional<int> enabled;
        std::optional<std::string> file;
        bool on;
        std::string path;
    };
    const Case cases[] = {
        {std::nullopt, std::nullopt, false, "/cfg/archive.sqlite"},
        {1, std::nullopt, true, "/cfg/archive.sqlite"},
        {0, "/data/a.sqlite", false, "/data/a.sqlite"},
        {2, std::nullopt, false, "/cfg/archive.sqlite"},
        {1, "", true, "/cfg/archive.sqlite"},
        {1, "/data/a.sqlite", true, "/data/a.sqlite"},
    };
    for (const Case& c : cases) {
        MemoryProfile profile;
        if (c.enabled)
            profile.values[{"Archive", "Enabled"}] = *c.enabled;
        if (c.file)
            profile.texts[{"Archive", "File"}] = *c.file;
        const ArchiveSetting setting = readArchiveSetting(profile);
        EXPECT_EQ(setting.enabled, c.on);
        EXPECT_EQ(archivePath(setting, "/cfg"), c.path);
    }
    MemoryProfile profile;
    writeArchiveEnabled(profile, true);
    EXPECT_TRUE(readArchiveSetting(profile).enabled);
    writeArchiveEnabled(profile, false);
    EXPECT_FALSE(readArchiveSetting(profile).enabled);
}

}  // namespace
}  // namespace zelar::test
