#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "app/archive/archive_setting.h"
#include "app/archive/visit_recorder.h"
#include "app/archive_view/archive_after_read.h"
#include "app/archive_view/archive_keeping.h"
#include "app/archive_view/archive_window.h"
#include "app/archive_view/report_from_archive.h"
#include "app/control_events.h"
#include "app/core/settings_source.h"
#include "app/file_session/file_menu.h"
#include "app/shell/login.h"
#include "app/shell/navigation.h"
#include "archive/archive_queries.h"
#include "settings/memory_map.h"
#include "sim_fixture.h"

// The archive of modems as the window shows it: the check item, the line after a read, the
// archive window, the way back after firmware programming and the report's fields.
namespace zelar {
namespace {

namespace fs = std::filesystem;

constexpr FormId M = FormId::Main;
constexpr FormId A = FormId::Archive;
constexpr const char* kApn = "internet.sim";

class Archive : public test::SimFixture {
  protected:
    Archive() {
        folder = ::testing::TempDir() + "zelar-archive-" + std::to_string(::getpid()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name();
        fs::remove_all(folder);
        fs::create_directories(folder);
        setApn(kApn);
    }
    ~Archive() override {
        app.archive = nullptr;
        app.archiveKeeping.recorder.reset();
        fs::remove_all(folder);
    }

    // The window starts with Modem.ini's "Enabled" key at `enabled`, or without it.
    void start(std::optional<int> enabled = 1) {
        if (enabled)
            profile.values[{"Archive", "Enabled"}] = *enabled;
        startArchiveKeeping(app, &profile, folder);
    }
    bool click(FormId form, const char* name) {
        const ControlEvents* events = findControlEvents(form, name);
        EXPECT_NE(events, nullptr) << name;
        return events->click != nullptr ? events->click(app) : events->change(app);
    }
    bool read() { return click(M, "btnReadNastUser"); }
    // Another tool changed SIM 2's access point name since the last visit.
    void setApn(const std::string& apn) {
        const std::uint16_t at = memory_address::kApnBase[1];
        std::memset(&memory(at), 0, memory_address::kApnTextLength);
        std::memcpy(&memory(at), apn.data(), apn.size());
    }
    std::string apnInModem() {
        return reinterpret_cast<const char*>(&memory(memory_address::kApnBase[1]));
    }
    std::string file() const { return folder + "/archive.sqlite"; }
    std::vector<archive::VisitEntry> history() {
        return archive::openSqliteArchive(file(), archive::OpenMode::Read)->history("7204518");
    }
    std::string lastText() const { return dialogs.messages.empty() ? "" : lastMessage()->text; }
    void typeFilter(const std::string& text) {
        app.archiveForm.EditArchiveFilter.text = text;
        ASSERT_TRUE(click(A, "EditArchiveFilter"));
    }
    void chooseModem(int row) {
        app.archiveForm.GridModems.selected = {row};
        ASSERT_TRUE(click(A, "GridModems"));
    }
    void chooseVisits(std::vector<int> rows) {
        app.archiveForm.GridVisits.selected = std::move(rows);
        ASSERT_TRUE(click(A, "GridVisits"));
    }

    std::string folder;
    TformMain& m = app.main;
    TformArchive& w = app.archiveForm;
};

TEST_F(Archive, OffNothingIsWrittenOnItIsKeptAndRememberedAtOnce) {
    start(std::nullopt);
    EXPECT_FALSE(m.MenuKeepArchive.checked);
    EXPECT_EQ(app.archive, nullptr);
    ASSERT_TRUE(read());
    EXPECT_TRUE(fs::is_empty(folder));
    EXPECT_FALSE(m.StaticTextArchive.visible);

    m.MenuKeepArchive.checked = true;
    ASSERT_TRUE(click(M, "MenuKeepArchive"));
    EXPECT_EQ((profile.values[{"Archive", "Enabled"}]), 1);
    ASSERT_TRUE(read());
    EXPECT_EQ(history().size(), 1U);
#ifndef _WIN32
    // Private to its owner where files have POSIX modes (Windows gives the folder's rights).
    EXPECT_EQ(fs::status(file()).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
#endif

    // Switched off again: remembered, and the next visits are kept nowhere.
    m.MenuKeepArchive.checked = false;
    ASSERT_TRUE(click(M, "MenuKeepArchive"));
    EXPECT_EQ((profile.values[{"Archive", "Enabled"}]), 0);
    EXPECT_EQ(app.archive, nullptr);
    ASSERT_TRUE(read());
    EXPECT_EQ(history().size(), 1U);
    EXPECT_FALSE(m.StaticTextArchive.visible);
    dialogs.messages.clear();
    EXPECT_FALSE(click(M, "MenuArchive"));
    EXPECT_EQ(lastText(), kTextArchiveOff);
    EXPECT_TRUE(dialogs.shownWindows.empty());
}

TEST_F(Archive, ARememberedMarkKeepsTheArchiveFromTheStart) {
    for (int enabled : {1, 0}) {
        start(enabled);
        EXPECT_EQ(m.MenuKeepArchive.checked, enabled == 1);
        EXPECT_EQ(app.archive != nullptr, enabled == 1);
    }
}

TEST_F(Archive, EachReadSaysWhatChangedSinceTheLastVisit) {
    start();
    ASSERT_TRUE(read());  // a modem the archive does not know yet
    EXPECT_FALSE(m.StaticTextArchive.visible);
    EXPECT_FALSE(m.BtnArchiveChanges.visible);

    const std::string today = archive::localDate(archive::utcNow());
    setApn("other.apn");
    ASSERT_TRUE(read());
    EXPECT_TRUE(m.StaticTextArchive.visible);
    EXPECT_EQ(m.StaticTextArchive.caption,
              "В архиве с " + today + ", последний визит " + today + ": изменено 1 поле");
    ASSERT_TRUE(m.BtnArchiveChanges.visible);
    EXPECT_FALSE(m.BtnArchiveRevert.visible);
    dialogs.messages.clear();
    ASSERT_TRUE(click(M, "BtnArchiveChanges"));
    ASSERT_EQ(dialogs.messages.size(), 1U);
    EXPECT_EQ(lastMessage()->caption, kTextChangesCaption);
    EXPECT_NE(lastText().find("\"internet.sim\" | \"other.apn\""), std::string::npos) << lastText();

    // Read once more with nothing changed: the line stays, with no differences to show.
    ASSERT_TRUE(read());
    EXPECT_TRUE(m.StaticTextArchive.visible);
    EXPECT_FALSE(m.BtnArchiveChanges.visible);
    EXPECT_EQ(history().size(), 3U);

    // A settings file opened: the line belonged to the modem.
    ASSERT_TRUE(click(M, "MenuNewFile"));
    EXPECT_FALSE(m.StaticTextArchive.visible);
}

// The archive never stops the work: the read goes on, the line says once why nothing was kept,
// and a damaged file is left as it was.
TEST_F(Archive, AnArchiveThatCannotBeWrittenIsToldOnceAndTheReadGoesOn) {
    struct Row {
        const char* what;
        std::function<void(const std::string& path)> spoil;
    };
    const std::string junk(4096, 'x');
    for (const Row& row :
         {Row{"corrupt", [&](const std::string& p) { std::ofstream(p) << junk; }},
          Row{"a folder", [](const std::string& p) { fs::create_directory(p); }}}) {
        fs::remove_all(file());
        row.spoil(file());
        start();
        dialogs.messages.clear();
        for (int visit = 0; visit < 2; ++visit) {
            ASSERT_TRUE(read()) << row.what;
            EXPECT_TRUE(app.settingsRead) << row.what;
            EXPECT_TRUE(m.StaticTextArchive.visible) << row.what;
            EXPECT_EQ(m.StaticTextArchive.caption.rfind(kTextArchiveNotWritten, 0), 0U)
                << row.what << ": " << m.StaticTextArchive.caption;
        }
        EXPECT_TRUE(dialogs.messages.empty()) << row.what << ": " << lastText();
        if (fs::is_regular_file(file())) {
            std::ifstream in(file());
            EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), junk);
        }
        // Asked for explicitly, the archive window says why it cannot open, in a box.
        EXPECT_FALSE(click(M, "MenuArchive")) << row.what;
        EXPECT_EQ(lastText().rfind(kTextArchiveNotWritten, 0), 0U) << row.what;
        EXPECT_TRUE(dialogs.shownWindows.empty()) << row.what;
    }
}

// The window lists the modems the archive knows, narrowed as the user types.
TEST_F(Archive, TheListFollowsTheFilterBySerialSiteAndAddress) {
    start();
    ASSERT_TRUE(read());
    ASSERT_TRUE(click(M, "MenuArchive"));
    EXPECT_EQ(dialogs.shownWindows, std::vector<WindowId>{WindowId::Archive});
    ASSERT_EQ(w.GridModems.rows.size(), 1U);
    EXPECT_EQ(w.GridModems.rows[0][0], "7204518");
    EXPECT_EQ(w.GridModems.rows[0][3], "1");
    EXPECT_TRUE(w.GridModems.selected.empty());
    EXPECT_FALSE(w.BtnSaveSite.enabled);

    chooseModem(0);
    w.EditSiteName.text = "Аптека на Садовой";
    w.EditSiteAddress.text = "ул. Садовая, 12";
    w.EditSiteNote.text = "ключ у охраны";
    ASSERT_TRUE(click(A, "BtnSaveSite"));
    EXPECT_EQ(w.LabelArchiveStatus.caption, kTextSiteSaved);
    EXPECT_EQ(w.GridModems.rows[0][1], "Аптека на Садовой");

    // The modem chosen stays chosen while it is listed, and its visits with it; once the list
    // has left it out, it is chosen no more.
    struct Row {
        const char* typed;
        std::size_t listed;
        bool chosen;
    };
    for (const Row& row : {Row{"720", 1, true}, Row{"7204518", 1, true}, Row{"Аптека", 1, true},
                           Row{"Садовая, 12", 1, true}, Row{"8157", 0, false},
                           Row{"ключ", 0, false}, Row{"", 1, false}}) {
        typeFilter(row.typed);
        EXPECT_EQ(w.GridModems.rows.size(), row.listed) << row.typed;
        EXPECT_EQ(w.GridModems.selected.size(), row.chosen ? 1U : 0U) << row.typed;
        EXPECT_EQ(w.serial, row.chosen ? "7204518" : "") << row.typed;
        EXPECT_EQ(w.GridVisits.rows.size(), row.chosen ? 1U : 0U) << row.typed;
        EXPECT_EQ(w.BtnSaveSite.enabled, row.chosen) << row.typed;
    }

    // Chosen, then unchosen with Ctrl and a click: nothing of it is left to save or open.
    chooseModem(0);
    chooseVisits({0});
    w.GridModems.selected.clear();
    ASSERT_TRUE(click(A, "GridModems"));
    EXPECT_EQ(w.serial, "");
    EXPECT_EQ(w.EditSiteName.text, "");
    EXPECT_TRUE(w.GridVisits.rows.empty());
    EXPECT_FALSE(w.BtnSaveSite.enabled);
    EXPECT_FALSE(w.BtnOpenVisit.enabled);
}

// Shown again, the window lists the visits made meanwhile and holds no choice of before.
TEST_F(Archive, ShownAgainTheWindowStartsAfresh) {
    start();
    ASSERT_TRUE(read());
    ASSERT_TRUE(click(M, "MenuArchive"));
    typeFilter("720");
    chooseModem(0);
    chooseVisits({0});
    EXPECT_TRUE(w.BtnOpenVisit.enabled);
    ASSERT_TRUE(click(A, "BtnCloseArchive"));
    EXPECT_EQ(dialogs.closedWindows, std::vector<WindowId>{WindowId::Archive});

    // Meanwhile a user's page is written: a visit that says which page.
    ASSERT_TRUE(logInAs(app, 1, "1234"));
    m.TreeView1.selected = 2;
    ASSERT_TRUE(TreeView1Changing(app, 2));
    m.EditUserTel.text = "+79035550003";
    ASSERT_TRUE(click(M, "ButtonWriteNastr"));
    ASSERT_TRUE(click(M, "MenuArchive"));
    EXPECT_EQ(w.EditArchiveFilter.text, "");
    ASSERT_EQ(w.GridModems.rows.size(), 1U);
    EXPECT_EQ(w.GridModems.rows[0][3], "2");
    EXPECT_TRUE(w.GridModems.selected.empty());
    EXPECT_TRUE(w.GridVisits.rows.empty());
    EXPECT_FALSE(w.BtnOpenVisit.enabled);
    EXPECT_FALSE(w.BtnCompareVisits.enabled);
    chooseModem(0);
    ASSERT_EQ(w.GridVisits.rows.size(), 2U);
    EXPECT_EQ(w.GridVisits.rows[0][2], "запись страницы: #2");
    EXPECT_EQ(w.GridVisits.rows[0][4], "1");
    EXPECT_EQ(w.GridVisits.rows[1][2], "чтение");
}

// The visits newest first; one chosen opens, two compare, others do neither.
TEST_F(Archive, TwoVisitsCompareAndAnEarlierStateIsWrittenBack) {
    start();
    ASSERT_TRUE(read());
    setApn("other.apn");
    ASSERT_TRUE(read());
    ASSERT_TRUE(click(M, "MenuArchive"));
    chooseModem(0);
    ASSERT_EQ(w.GridVisits.rows.size(), 2U);
    EXPECT_EQ(w.GridVisits.rows[0][0], "2");
    EXPECT_EQ(w.GridVisits.rows[1][0], "1");
    EXPECT_EQ(w.GridVisits.rows[1][3], "COM1");

    struct Row {
        std::vector<int> chosen;
        bool compare;
        bool open;
    };
    for (const Row& row : {Row{{}, false, false}, Row{{1}, false, true}, Row{{0, 1}, true, false},
                           Row{{0}, false, true}}) {
        chooseVisits(row.chosen);
        EXPECT_EQ(w.BtnCompareVisits.enabled, row.compare) << row.chosen.size();
        EXPECT_EQ(w.BtnOpenVisit.enabled, row.open) << row.chosen.size();
    }

    chooseVisits({0, 1});
    dialogs.messages.clear();
    ASSERT_TRUE(click(A, "BtnCompareVisits"));
    // From the older visit to the newer, whichever was chosen first.
    EXPECT_EQ(lastMessage()->caption, "№ 7204518: Визит 1 и Визит 2");
    EXPECT_NE(lastText().find("\"internet.sim\" | \"other.apn\""), std::string::npos) << lastText();

    chooseVisits({1});
    ASSERT_TRUE(click(A, "BtnOpenVisit"));
    EXPECT_EQ(dialogs.closedWindows, std::vector<WindowId>{WindowId::Archive});
    EXPECT_TRUE(app.source.file);
    EXPECT_EQ(settingsFileName(app.source),
              "№ 7204518, визит 1 от " + archive::localDate(archive::utcNow()));
    EXPECT_STREQ(app.image.sims[1].apnName.c_str(), kApn);
    EXPECT_EQ(apnInModem(), "other.apn");
    dialogs.answers.push_back(MessageResult::Yes);
    ASSERT_TRUE(click(M, "MenuWriteFile"));
    EXPECT_EQ(apnInModem(), kApn);
}

// Firmware programming as its handler tells the archive of it: the state before, then the
// programming itself. The read after it compares with the state before.
TEST_F(Archive, AfterFirmwareTheReadSaysWhetherTheSettingsStayedAndCanPutThemBack) {
    start();
    for (const bool changed : {false, true}) {
        ASSERT_TRUE(read());
        app.archive->before(app, archive::VisitOperation::FirmwareProgrammed);
        app.archive->after(app, archive::VisitOperation::FirmwareProgrammed, "2.06");
        if (changed)
            setApn("fw.default");
        ASSERT_TRUE(read());
        EXPECT_TRUE(m.StaticTextArchive.visible) << changed;
        EXPECT_EQ(m.BtnArchiveRevert.visible, changed);
        EXPECT_EQ(m.BtnArchiveChanges.visible, changed);
        if (!changed) {
            EXPECT_EQ(m.StaticTextArchive.caption, archive::kTextSettingsKept);
        }
    }
    dialogs.messages.clear();
    ASSERT_TRUE(click(M, "BtnArchiveChanges"));
    EXPECT_EQ(lastMessage()->caption, kTextFirmwareChangesCaption);
    EXPECT_NE(lastText().find("\"internet.sim\" | \"fw.default\""), std::string::npos)
        << lastText();

    dialogs.answers.push_back(MessageResult::Yes);
    ASSERT_TRUE(click(M, "BtnArchiveRevert"));
    EXPECT_EQ(apnInModem(), kApn);
    EXPECT_TRUE(app.source.file);
    EXPECT_EQ(settingsFileName(app.source), "Настройки до прошивки");
    EXPECT_FALSE(m.BtnArchiveRevert.visible);
    // The next read finds the settings as they were before the programming.
    ASSERT_TRUE(read());
    EXPECT_STREQ(app.image.sims[1].apnName.c_str(), kApn);
}

TEST_F(Archive, TheReportOffersTheInstallerAndSiteTheArchiveKnows) {
    start();
    EXPECT_EQ(reportRequestFromArchive(app).installer, "");  // nothing read yet
    ASSERT_TRUE(read());
    HandoverRequest offered = reportRequestFromArchive(app);
    EXPECT_EQ(offered.installer + "|" + offered.site, "|");
    rememberInstaller(app, "Петров");
    ASSERT_TRUE(read());
    ASSERT_TRUE(click(M, "MenuArchive"));
    chooseModem(0);
    EXPECT_EQ(w.LabelSiteInstaller.caption, "Монтажник: Петров");
    struct Row {
        const char* name;
        const char* address;
        const char* site;
    };
    for (const Row& row :
         {Row{"Аптека", "ул. Садовая, 12", "Аптека, ул. Садовая, 12"}, Row{"Аптека", "", "Аптека"},
          Row{"", "ул. Садовая, 12", "ул. Садовая, 12"}}) {
        w.EditSiteName.text = row.name;
        w.EditSiteAddress.text = row.address;
        ASSERT_TRUE(click(A, "BtnSaveSite"));
        offered = reportRequestFromArchive(app);
        EXPECT_EQ(offered.installer, "Петров");
        EXPECT_EQ(offered.site, row.site);
    }
}

}  // namespace
}  // namespace zelar
