#include "app/file_session/file_menu.h"

#include <filesystem>
#include <functional>

#include "app/control_events.h"
#include "app/core/settings_source.h"
#include "app/pages/settings_file_store.h"
#include "app/shell/login.h"
#include "app/shell/navigation.h"
#include "app/shell/read_settings.h"
#include "files/file_io.h"
#include "sim_fixture.h"

namespace zelar {
namespace {

namespace fs = std::filesystem;

// A backup of the simulated modem opened in the window, with no modem read after it.
class FileSession : public test::SimFixture {
  protected:
    FileSession() {
        path = (fs::temp_directory_path() /
                ("zelar-session-" + std::to_string(::getpid()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".md2"))
                   .string();
        btnReadNastUserClick(app);
        EXPECT_TRUE(
            writeFileReplacing(path, composeSettingsFile(settingsFileContent(app))).empty());
        seenBefore = modem.commandsSeen();
        EXPECT_TRUE(openSettingsFile(app, path));
    }
    ~FileSession() override { fs::remove(path); }

    bool click(const char* name) { return findControlEvents(FormId::Main, name)->click(app); }
    SettingsFileContent onDisk() {
        SettingsFileContent content;
        EXPECT_TRUE(parseSettingsFile(*readFileUpTo(path, kSettingsFileLimit), content));
        return content;
    }
    void showUser(int n) {
        app.main.TreeView1.selected = n;
        ASSERT_TRUE(TreeView1Changing(app, n));
    }

    std::string path;
    int seenBefore = 0;
};

TEST_F(FileSession, PagesEditedAfterALoginAreStoredIntoTheFileWithNoPortTouched) {
    EXPECT_EQ(app.main.caption, fs::path(path).filename().string() + " — " + TformMain::kCaption);
    for (const auto& [named, shown] :
         {std::pair{"C:\\a\\s.md2", "s.md2"}, {"/a/b/s.md2", "s.md2"}, {"s.md2", "s.md2"}})
        EXPECT_EQ(settingsFileName({true, named, "", ""}), shown) << named;
    EXPECT_FALSE(TreeView1Changing(app, 1));  // no page opens without a login
    ASSERT_TRUE(logInAs(app, 1, "1234"));
    showUser(2);
    app.main.EditUserTel.text = "+79035550003";
    ASSERT_TRUE(click("ButtonWriteNastr"));
    EXPECT_EQ(app.main.StatusBar1.text, kTextWrittenToFile);
    EXPECT_EQ(onDisk().image.users[1].phone, "+79035550003");
#ifndef _WIN32
    // Private to its owner where files have POSIX modes (Windows gives the folder's rights).
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
#endif
    EXPECT_EQ(modem.commandsSeen(), seenBefore);
}

// The voice call node shows no page with a file open; "Записать" there says why.
TEST_F(FileSession, WritingTheVoiceCallSaysAFileDoesNotHoldIt) {
    ASSERT_TRUE(logInAs(app, 1, "1234"));
    EXPECT_FALSE(TreeView1Changing(app, kNodeVoiceCall));
    EXPECT_FALSE(click("ButtonWriteNastr"));
    ASSERT_NE(lastMessage(), nullptr);
    EXPECT_EQ(lastMessage()->text, "Эти настройки в файле настроек не хранятся");
    EXPECT_EQ(modem.commandsSeen(), seenBefore);
}

TEST_F(FileSession, AWriteThatWouldLeaveTheFileUnrestorableIsRefusedWithThePagesMessage) {
    ASSERT_TRUE(logInAs(app, 1, "1234"));
    showUser(2);
    const std::string before = *readFileUpTo(path, kSettingsFileLimit);
    app.main.EditUserPassword.text = "12a4";
    EXPECT_FALSE(click("ButtonWriteNastr"));
    ASSERT_NE(lastMessage(), nullptr);
    EXPECT_EQ(lastMessage()->text, "Пароль должен быть 4 цифры");
    EXPECT_EQ(*readFileUpTo(path, kSettingsFileLimit), before);
}

TEST_F(FileSession, ModemOperationsSayTheyNeedAModemAndSendNothing) {
    ASSERT_TRUE(logInAs(app, 1, "1234"));
    for (const auto& [form, name] : {std::pair{FormId::Main, "BitBtnTest"},
                                     {FormId::Main, "BitBtnReadError"},
                                     {FormId::Main, "CheckBoxMeter"},
                                     {FormId::Setup, "ButtonSetDefault"},
                                     {FormId::Setup, "BtnLoadPar"}}) {
        dialogs.messages.clear();
        // As a click on the meter's box leaves it.
        app.main.CheckBoxMeter.checked = std::string_view(name) == "CheckBoxMeter";
        EXPECT_FALSE(findControlEvents(form, name)->click(app)) << name;
        ASSERT_NE(lastMessage(), nullptr) << name;
        EXPECT_EQ(lastMessage()->text, kTextNeedsModem) << name;
        EXPECT_FALSE(app.main.CheckBoxMeter.checked) << name;
    }
    clock.advanceMs(3000);  // a meter started now would have sampled by now
    EXPECT_FALSE(app.meter.running);
    EXPECT_EQ(modem.commandsSeen(), seenBefore);
    // Reading the modem ends the file's session and its login.
    btnReadNastUserClick(app);
    EXPECT_FALSE(app.source.file);
    EXPECT_FALSE(app.login.loggedIn);
    EXPECT_EQ(app.main.caption, TformMain::kCaption);
}

TEST_F(FileSession, WrittenIntoTheModemTheFileComparesEqualAndStaysOpen) {
    ASSERT_TRUE(logInAs(app, 1, "1234"));
    showUser(2);
    app.main.EditUserTel.text = "+79035550003";
    ASSERT_TRUE(click("ButtonWriteNastr"));
    // A window that never read this modem knows nothing of the SIM card's own number, which no
    // file holds: the modem keeps its own.
    const auto simPhones = [&] {
        return std::pair{std::vector<std::uint8_t>(&memory(0xA5), &memory(0xA5) + 12),
                         std::vector<std::uint8_t>(&memory(0xC5), &memory(0xC5) + 12)};
    };
    const auto before = simPhones();
    app.image.sims[0].phone.clear();
    app.image.sims[1].phone.clear();
    dialogs.answers.push_back(MessageResult::Yes);
    ASSERT_TRUE(click("MenuWriteFile"));
    EXPECT_TRUE(app.source.file);
    EXPECT_EQ(simPhones(), before);
    dialogs.messages.clear();
    ASSERT_TRUE(click("MenuCompare"));
    ASSERT_NE(lastMessage(), nullptr);
    EXPECT_EQ(lastMessage()->text, kTextNoDifferences);
    EXPECT_TRUE(app.source.file);
    EXPECT_TRUE(app.login.loggedIn);
    EXPECT_EQ(app.main.EditUserTel.text, "+79035550003");
}

// The file's own user compares when the modem lets him see the modem's settings: "Мастер" and
// "Хозяин", not "Охранник".
TEST_F(FileSession, TheFilesMasterOrOwnerMayCompareItWithTheModem) {
    for (const auto& [user, password, message] :
         {std::tuple{1, "1234", kTextNoDifferences},
          {2, "5678", kTextNoDifferences},
          {3, "0000", "Сравнение с модемом доступно пользователям «Мастер» и «Хозяин»"}}) {
        ASSERT_TRUE(logInAs(app, user, password)) << user;
        dialogs.messages.clear();
        EXPECT_EQ(click("MenuCompare"), message == std::string(kTextNoDifferences)) << user;
        ASSERT_NE(lastMessage(), nullptr) << user;
        EXPECT_EQ(lastMessage()->text, message) << user;
        EXPECT_TRUE(app.source.file);
    }
}

TEST_F(FileSession, ANewFileOfFactoryValuesAsksItsNameAtTheFirstWrite) {
    ASSERT_TRUE(click("MenuNewFile"));
    EXPECT_EQ(settingsFileName(app.source), kTextNewFileName);
    ASSERT_TRUE(logInAs(app, 1, "7391"));
    showUser(1);
    app.main.EditUserTel.text = "+79990000001";
    const std::string named = path + ".new.md2";
    dialogs.fileNames.push_back(named);
    ASSERT_TRUE(click("ButtonWriteNastr"));
    EXPECT_EQ(app.source.path, named);
    SettingsFileContent content;
    ASSERT_TRUE(parseSettingsFile(*readFileUpTo(named, kSettingsFileLimit), content));
    EXPECT_EQ(content.image.users[0].phone, "+79990000001");
    EXPECT_EQ(content.image.users[1].password, "7391");
    fs::remove(named);
}

// Another program (a second window, a script) that holds a file keeps every way of this window
// to it shut, saying which file; the session goes on where it was and the file stays as it is.
TEST_F(FileSession, AFileHeldByAnotherProgramIsRefusedByEveryWayInNamingIt) {
    const std::string held = path + ".held.md2";
    ASSERT_TRUE(writeFileReplacing(held, *readFileUpTo(path, kSettingsFileLimit)).empty());
    const FileLockAttempt other = FileLock::take(held);
    ASSERT_TRUE(other.lock);
    ASSERT_TRUE(logInAs(app, 1, "1234"));
    showUser(2);
    app.main.EditUserTel.text = "+79035550003";
    const struct {
        const char* name;
        FormId form;
        const char* control;
        bool newFile;  // a new file of factory values, whose first write asks its name
    } ways[] = {
        {"Открыть файл", FormId::Main, "MenuOpenFile", false},
        {"Сохранить как", FormId::Main, "MenuSaveAs", false},
        {"Сохранить настройки в файл", FormId::Setup, "BtnSavePar", false},
        {"the first write of a new file", FormId::Main, "ButtonWriteNastr", true},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.name);
        if (way.newFile) {
            ASSERT_TRUE(click("MenuNewFile"));
            ASSERT_TRUE(logInAs(app, 1, "7391"));
            showUser(2);
        }
        const SettingsSource before = app.source;
        dialogs.messages.clear();
        dialogs.fileNames.push_back(held);
        EXPECT_FALSE(findControlEvents(way.form, way.control)->click(app));
        ASSERT_NE(lastMessage(), nullptr);
        EXPECT_EQ(lastMessage()->text, fileInUseText(held));
        EXPECT_EQ(app.source.path, before.path);
        EXPECT_EQ(app.source.lock, before.lock);
    }
    EXPECT_EQ(*readFileUpTo(held, kSettingsFileLimit), *readFileUpTo(path, kSettingsFileLimit));
    fs::remove(held);
}

// The session holds its file from the opening to its end, through everything that comes back
// to it: the same file opened again, a comparison (whose read ends the session for a while).
TEST_F(FileSession, HoldsItsFileUntilTheSessionEnds) {
    const auto heldElsewhere = [&] { return FileLock::take(path).heldElsewhere; };
    EXPECT_TRUE(heldElsewhere());
    ASSERT_TRUE(openSettingsFile(app, path));  // the same file again
    EXPECT_TRUE(heldElsewhere());
    ASSERT_TRUE(logInAs(app, 1, "1234"));
    ASSERT_TRUE(click("MenuCompare"));
    EXPECT_TRUE(heldElsewhere());
    const std::string other = path + ".other.md2";
    dialogs.fileNames.push_back(other);
    ASSERT_TRUE(click("MenuSaveAs"));  // under another name: the session holds that one only
    EXPECT_FALSE(heldElsewhere());
    EXPECT_TRUE(FileLock::take(other).heldElsewhere);
    ASSERT_TRUE(openSettingsFile(app, path));  // the first file again
    EXPECT_TRUE(heldElsewhere());
    EXPECT_FALSE(FileLock::take(other).heldElsewhere);
    ASSERT_TRUE(openSettingsFile(app, other));
    btnReadNastUserClick(app);  // a modem read ends the session
    EXPECT_FALSE(FileLock::take(other).heldElsewhere);
    fs::remove(other);
}

// The "Модем" group names the file (its whole path when pointed at) and the modem it was saved
// from, as far as its lines for people have it; a read of a modem leaves none of it behind.
TEST_F(FileSession, TheModemGroupNamesTheFileAndTheModemItCameFrom) {
    const TformMain& m = app.main;
    const auto group = [&] {
        return std::vector<std::string>{m.StaticTextSN.caption, m.StaticTextSN.hint,
                                        m.StaticTextBootVer.caption, m.StaticTextVer.caption};
    };
    const std::string name = fs::path(path).filename().string();
    EXPECT_EQ(group(), (std::vector<std::string>{"Файл: " + name, path, "Серийный номер: 720451",
                                                 "ПО контроллера: 2.05"}));
    ASSERT_TRUE(click("MenuNewFile"));
    EXPECT_EQ(group(), (std::vector<std::string>{"Файл: Новый файл настроек", "", "", ""}));
    ASSERT_TRUE(openSettingsFile(app, path));  // opened again
    EXPECT_EQ(group()[1], path);
    btnReadNastUserClick(app);
    EXPECT_EQ(m.StaticTextSN.caption + "|" + m.StaticTextSN.hint, "Серийный номер: 7204518|");
}

// Whatever stops the compare, the window shows the file behind its box and afterwards: the
// source changes only when a read succeeds.
TEST_F(FileSession, ACompareThatFailsShowsTheFileBehindItsBox) {
    ASSERT_TRUE(logInAs(app, 1, "1234"));
    const std::string file = app.main.caption + " | " + app.main.StaticTextSN.caption;
    std::vector<std::string> behind;
    dialogs.onMessage = [&](const sim::ScriptedDialogs::Message&) {
        behind.push_back(app.main.caption + " | " + app.main.StaticTextSN.caption);
    };
    struct Row {
        const char* why;
        std::function<void()> arrange;
        std::size_t boxes;
        std::string last;
    };
    // In this order: a modem that stops answering stays silent.
    const Row rows[] = {
        {"firmware before 2.01", [&] { modem.store().firmwareVersion = "0150"; }, 1,
         "ПО модема не отдаёт настроек для сравнения"},
        {"another password in the modem", [&] { memory(0x08 + 14) = '9'; }, 1, "Пароль не принят"},
        {"the port fails mid-read",
         [&] { modem.options().faults.writeErrorAfter = cable.hostWrites() + 3; }, 2,
         kTextReadError},
        {"the modem stops answering mid-read",
         [&] { modem.options().faults.stopAfterCommands = modem.commandsSeen() + 3; }, 1,
         kTextReadError},
    };
    for (const Row& row : rows) {
        behind.clear();
        row.arrange();
        EXPECT_FALSE(click("MenuCompare")) << row.why;
        EXPECT_EQ(behind, std::vector<std::string>(row.boxes, file)) << row.why;
        EXPECT_EQ(lastMessage()->text, row.last) << row.why;
        EXPECT_TRUE(app.source.file && app.login.loggedIn) << row.why;
        modem.options().faults.writeErrorAfter = -1;
        modem.store().firmwareVersion = "0205";
    }
}

// The office's steps: a new file of factory values with SIM 1's access point set by hand, saved,
// written into a modem and compared with it at once.
TEST_F(FileSession, APreparedFileLandsInTheModemWholeAutoDetectionIncluded) {
    ASSERT_TRUE(click("MenuNewFile"));
    ASSERT_TRUE(logInAs(app, 1, "7391"));
    app.main.TreeView1.selected = kNodeModem;
    ASSERT_TRUE(findControlEvents(FormId::Main, "TreeView1")->change(app));
    app.main.AutoSetPar1.checked = false;
    ASSERT_TRUE(click("AutoSetPar1"));
    ASSERT_TRUE(click("BitBtnSIM1HelpUSSD"));
    ASSERT_TRUE(findControlEvents(FormId::Ussd, "ButtonUSSDOperator")->click(app));
    const std::string named = path + ".office.md2";
    dialogs.fileNames.push_back(named);
    ASSERT_TRUE(click("ButtonWriteNastr"));
    dialogs.answers.push_back(MessageResult::Yes);
    ASSERT_TRUE(click("MenuWriteFile"));
    dialogs.messages.clear();
    ASSERT_TRUE(click("MenuCompare"));
    ASSERT_NE(lastMessage(), nullptr);
    EXPECT_EQ(lastMessage()->text, kTextNoDifferences);
    fs::remove(named);
}

}  // namespace
}  // namespace zelar
