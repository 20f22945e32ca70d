#include "app/shell/navigation.h"

#include <string>
#include <vector>

#include "app/control_events.h"
#include "app/core/settings_source.h"
#include "app/file_session/file_menu.h"
#include "app/pages/settings_file_store.h"
#include "app/shell/leave_page.h"
#include "app/shell/login.h"
#include "app/shell/read_settings.h"
#include "app/shell/startup.h"
#include "app_fixture.h"
#include "files/file_io.h"
#include "sim_fixture.h"

namespace zelar {
namespace {

using test::AppFixture;

class NavigationTest : public AppFixture {
  protected:
    void SetUp() override { ASSERT_TRUE(FormShow(app, &profile)); }

    // Settings read and a password accepted for `user` with `role`; the six users' roles.
    void login(int role, int user, std::array<int, 6> roles) {
        app.settingsRead = true;
        app.login = {true, role, user};
        for (int n = 0; n < 6; ++n)
            app.image.users[n].status = static_cast<std::uint8_t>(roles[n]);
    }
    bool showsOnly(std::vector<Page> pages, const std::string& info) {
        return visiblePages() == pages && app.main.StaticTextInformation.caption == info;
    }
    bool refused() { return showsOnly({Page::TabSheet3}, "Нет прав просмотра настроек"); }
};

TEST_F(NavigationTest, BeforeReadingEveryNodeShowsTheReadHint) {
    app.main.StatusBar1.text = "something else";
    for (int node = 0; node <= 9; ++node) {
        TreeView1Changing(app, node);
        EXPECT_TRUE(showsOnly({Page::TabSheet3}, "Считайте настройки модема...")) << node;
    }
    EXPECT_EQ(app.main.StatusBar1.text, "something else");
}

TEST_F(NavigationTest, ReadButNotLoggedInAsksForThePassword) {
    app.settingsRead = true;
    app.login.role = kRoleMaster;  // a role without the logged-in flag counts for nothing
    TreeView1Changing(app, kNodeModem);
    EXPECT_TRUE(showsOnly({Page::TabSheet3}, "Введите пароль..."));
    EXPECT_EQ(app.main.StatusBar1.text, "Введите пароль...");
}

TEST_F(NavigationTest, MasterSeesEverything) {
    login(kRoleMaster, 1, {0, 0, 1, 2, 1, 2});
    TreeView1Changing(app, kNodeModem);
    EXPECT_TRUE(showsOnly({Page::TabSheet2, Page::TabSheet5, Page::TabSheetTests}, ""));
    EXPECT_EQ(app.main.activePage, Page::TabSheet2);
    TreeView1Changing(app, kNodeVoiceCall);
    EXPECT_TRUE(showsOnly({Page::TabSheetECall}, ""));
    TreeView1Changing(app, kNodeDiagnostics);
    EXPECT_TRUE(showsOnly({Page::TabSheet4}, ""));
    for (int user = 1; user <= 6; ++user) {
        TreeView1Changing(app, user);
        EXPECT_TRUE(showsOnly({Page::TabSheet1}, "")) << user;
    }
    TreeView1Changing(app, kNodeUsers);
    EXPECT_TRUE(showsOnly({}, ""));
}

TEST_F(NavigationTest, OwnerRights) {
    login(kRoleOwner, 2, {0, 1, 1, 2, 7, 0});
    TreeView1Changing(app, 2);
    EXPECT_TRUE(showsOnly({Page::TabSheet1}, ""));  // the login user, an owner
    TreeView1Changing(app, 3);
    EXPECT_TRUE(refused());  // another owner
    TreeView1Changing(app, 4);
    EXPECT_TRUE(showsOnly({Page::TabSheet1}, ""));  // a guard
    TreeView1Changing(app, 1);
    EXPECT_TRUE(refused());  // a master
    TreeView1Changing(app, 5);
    EXPECT_TRUE(refused());  // a role with no name
    TreeView1Changing(app, kNodeModem);
    EXPECT_TRUE(refused());
    TreeView1Changing(app, kNodeVoiceCall);
    EXPECT_TRUE(showsOnly({Page::TabSheetECall}, ""));
    TreeView1Changing(app, kNodeDiagnostics);
    EXPECT_TRUE(showsOnly({Page::TabSheet4}, ""));
}

TEST_F(NavigationTest, GuardRights) {
    login(kRoleGuard, 3, {0, 1, 2, 2, 1, 2});
    TreeView1Changing(app, 3);
    EXPECT_TRUE(showsOnly({Page::TabSheet1}, ""));
    TreeView1Changing(app, 4);
    EXPECT_TRUE(refused());  // another guard
    TreeView1Changing(app, kNodeDiagnostics);
    EXPECT_TRUE(showsOnly({Page::TabSheet4}, ""));
    TreeView1Changing(app, kNodeVoiceCall);
    EXPECT_TRUE(refused());
    TreeView1Changing(app, kNodeModem);
    EXPECT_TRUE(refused());
    TreeView1Changing(app, kNodeUsers);
    EXPECT_TRUE(showsOnly({}, ""));

    // A guard whose stored role is no longer "Охранник" does not see even their own page.
    app.image.users[2].status = kRoleOwner;
    TreeView1Changing(app, 3);
    EXPECT_TRUE(refused());
}

TEST_F(NavigationTest, NoRoleLeavesUserPagesAsTheyAre) {
    login(kRoleNone, 1, {0, 0, 0, 0, 0, 0});
    TreeView1Changing(app, kNodeDiagnostics);
    TreeView1Changing(app, 2);
    EXPECT_TRUE(showsOnly({Page::TabSheet4}, ""));
    TreeView1Changing(app, kNodeModem);
    EXPECT_TRUE(refused());
}

TEST_F(NavigationTest, UnnamedRoleIsRefusedUserPages) {
    login(9, 1, {9, 2, 2, 2, 2, 2});
    TreeView1Changing(app, 1);
    EXPECT_TRUE(refused());
    TreeView1Changing(app, 2);
    EXPECT_TRUE(refused());
}

// The window on the simulated modem, read and logged in as its "Мастер", user 2's page on view.
class LeavingPages : public test::SimFixture {
  protected:
    LeavingPages() {
        app.askBeforeLeaving = true;
        btnReadNastUserClick(app);
        EXPECT_TRUE(logInAs(app, 1, "1234"));
        EXPECT_TRUE(go(2));
    }
    bool go(int node) {
        app.main.TreeView1.selected = node;
        return findControlEvents(FormId::Main, "TreeView1")->change(app);
    }
    void edit(const std::string& phone) {
        app.main.EditUserTel.text = phone;
        app.main.EditUserPassword.text = "4321";
    }
    // The questions asked since the last look.
    int questions() {
        int asked = 0;
        for (const auto& shown : dialogs.messages)
            asked += shown.text == kTextWriteChanges;
        dialogs.messages.clear();
        return asked;
    }
    std::string userTwoPhoneIn(const std::string& path) {
        if (path.empty())
            return {reinterpret_cast<const char*>(&memory(0x08 + 24)), 12};
        SettingsFileContent content;
        EXPECT_TRUE(parseSettingsFile(*readFileUpTo(path, kSettingsFileLimit), content));
        return content.image.users[1].phone;
    }
};

// Each source in turn: the modem, then a file saved from it. A page is left, come back to and left
// again, with each answer.
TEST_F(LeavingPages, EditsAreWrittenDroppedOrKeptAsTheUserSays) {
    const std::string file = ::testing::TempDir() + "zelar-leaving.md2";
    for (const std::string& path : {std::string(), file}) {
        SCOPED_TRACE(path.empty() ? "modem" : "file");
        if (!path.empty()) {
            ASSERT_TRUE(
                writeFileReplacing(path, composeSettingsFile(settingsFileContent(app))).empty());
            ASSERT_TRUE(openSettingsFile(app, path));
            ASSERT_TRUE(logInAs(app, 1, "1234"));
            ASSERT_TRUE(go(2));
        }
        const std::string held = app.main.EditUserTel.text;
        const std::string stored = userTwoPhoneIn(path);
        // Numbers of their own in each pass: the file holds what the modem's pass wrote.
        const std::string dropped = path.empty() ? "+79990000001" : "+79990000011";
        const std::string written = path.empty() ? "+79990000002" : "+79990000022";
        edit(dropped);
        dialogs.answers = {MessageResult::No};
        EXPECT_TRUE(go(3));
        EXPECT_EQ(questions(), 1);
        EXPECT_EQ(app.main.TreeView1.selected, 3);
        EXPECT_TRUE(go(2));
        EXPECT_EQ(questions(), 0);
        EXPECT_EQ(app.main.EditUserTel.text, held);
        EXPECT_EQ(userTwoPhoneIn(path), stored);

        edit(written);
        dialogs.answers = {MessageResult::Cancel};
        EXPECT_FALSE(go(3));
        EXPECT_EQ(questions(), 1);
        EXPECT_EQ(app.main.TreeView1.selected, 2);
        EXPECT_EQ(app.main.activePage, Page::TabSheet1);
        EXPECT_EQ(app.main.EditUserTel.text, written);

        dialogs.answers = {MessageResult::Yes};
        EXPECT_TRUE(go(3));
        EXPECT_EQ(questions(), 1);
        EXPECT_EQ(userTwoPhoneIn(path).substr(0, 12), written);
        EXPECT_EQ(app.main.StatusBar1.text, "");  // not the write's, of the page before
        EXPECT_TRUE(go(2));
        EXPECT_EQ(questions(), 0);
        EXPECT_EQ(app.main.EditUserTel.text + app.main.EditUserPassword.text, written + "4321");
    }
    std::remove(file.c_str());
}

// Whatever takes the pages away asks first; a script never asks.
TEST_F(LeavingPages, ClosingReadingAndTheFileMenuAskFirst) {
    using Leave = std::function<bool()>;
    const std::pair<const char*, Leave> ways[] = {
        {"closing", [&] { return FormCloseQuery(app); }},
        {"reading", [&] { return findControlEvents(FormId::Main, "btnReadNastUser")->click(app); }},
        {"a new file", [&] { return findControlEvents(FormId::Main, "MenuNewFile")->click(app); }},
    };
    for (const auto& [way, leave] : ways) {
        edit("+79990000003");
        dialogs.answers = {MessageResult::Cancel};
        EXPECT_FALSE(leave()) << way;
        EXPECT_EQ(questions(), 1) << way;
        EXPECT_EQ(app.main.EditUserTel.text, "+79990000003") << way;
        app.askBeforeLeaving = false;
        EXPECT_EQ(FormCloseQuery(app), true) << way;
        app.askBeforeLeaving = true;
        dialogs.answers = {MessageResult::No};
        EXPECT_TRUE(leave()) << way;
        EXPECT_EQ(questions(), 1) << way;
        endFileSession(app);
        btnReadNastUserClick(app);
        ASSERT_TRUE(logInAs(app, 1, "1234"));
        ASSERT_TRUE(go(2));
        questions();
    }
}

}  // namespace
}  // namespace zelar
