#include "app/shell/navigation.h"

#include "app/shell/startup.h"
#include "app_fixture.h"

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

}  // namespace
}  // namespace zelar
