#include "app/shell/login.h"

#include "app/shell/navigation.h"
#include "app/shell/read_settings.h"
#include "sim_fixture.h"

namespace zelar {
namespace {

class LoginTest : public test::SimFixture {
  protected:
    explicit LoginTest(const std::string& firmware = "0205") : SimFixture(firmware) {}

    void readModem() {
        btnReadNastUserClick(app);
        ASSERT_TRUE(app.settingsRead);
        dialogs.messages.clear();
    }
    void login(int user, const std::string& password) {
        selectItem(app.main.cbUser, user - 1);
        app.main.EditPassword.text = password;
        ButtonApplyPasswordClick(app);
    }
    std::string lastText() const { return lastMessage() ? lastMessage()->text : std::string(); }
    bool serviceButtonsEnabled() const {
        const TformSetup& s = app.setup;
        return s.BtnSavePar.enabled && s.BtnLoadPar.enabled && s.ButtonSetDefault.enabled &&
               s.BtnReadDict.enabled && s.SpBtnFlashMCU.enabled && s.BtnOpen.enabled &&
               s.btnWriteDict.enabled;
    }
};

TEST_F(LoginTest, BeforeReadingThereIsNoLogin) {
    login(1, "1234");
    EXPECT_EQ(lastText(), "Перед вводом пароля считайте настройки модема");
    EXPECT_EQ(lastMessage()->caption, "Модем");
    EXPECT_EQ(lastMessage()->icon, MessageIcon::Error);
    EXPECT_FALSE(app.login.loggedIn);
}

TEST_F(LoginTest, MessagesForBadPasswords) {
    readModem();
    login(1, "123");
    EXPECT_EQ(lastText(), "Пароль должен быть 4 символа");
    login(1, "12a4");
    EXPECT_EQ(lastText(), "Пароль должен состоять из цифр");
    login(1, "1235");
    EXPECT_EQ(lastText(), "Пароль не принят");
    EXPECT_FALSE(app.login.loggedIn);
    for (const auto& m : dialogs.messages)
        EXPECT_EQ(m.icon, MessageIcon::Error);
}

TEST_F(LoginTest, MasterLoginUnlocksTheServiceWindowAndModemPages) {
    readModem();
    EXPECT_FALSE(app.setup.BtnSavePar.enabled);
    login(1, "1234");
    ASSERT_TRUE(app.login.loggedIn);
    EXPECT_EQ(app.login.role, kRoleMaster);
    EXPECT_EQ(app.login.user, 1);
    EXPECT_EQ(lastText(), "Пароль принят.Статус пользователя:Мастер");
    EXPECT_EQ(lastMessage()->icon, MessageIcon::None);
    EXPECT_EQ(app.main.StaticTextInformation.caption, "Пароль принят.Статус пользователя:Мастер");
    EXPECT_EQ(app.main.StatusBar1.text, "Пароль принят");
    EXPECT_TRUE(serviceButtonsEnabled());
    EXPECT_TRUE(app.setup.ComBoxWorkAs.visible);
    EXPECT_TRUE(app.setup.LabWorkAs.visible);

    // Rights count from the next selection in the tree.
    app.main.EditSim1Pin1.text = "";
    TreeView1Changing(app, kNodeModem);
    EXPECT_TRUE(app.main.TabSheet2.tabVisible);
    EXPECT_EQ(app.main.activePage, Page::TabSheet2);
    EXPECT_EQ(app.main.EditSim1Pin1.text, "4951");
}

TEST_F(LoginTest, WrongUserSelectedEndsThePreviousLogin) {
    readModem();
    login(1, "1234");
    ASSERT_TRUE(app.login.loggedIn);
    login(3, "5678");  // user 2's password with user 3 selected
    EXPECT_EQ(lastText(), "Пароль не принят");
    EXPECT_FALSE(app.login.loggedIn);
}

TEST_F(LoginTest, AFailedAttemptTakesBackWhatShowedTheEndedLogin) {
    readModem();
    for (const char* typed : {"123", "12a4", "1235"}) {
        login(1, "1234");
        ASSERT_EQ(app.main.StatusBar1.text, "Пароль принят");
        login(1, typed);
        EXPECT_FALSE(app.login.loggedIn) << typed;
        EXPECT_EQ(app.main.StatusBar1.text, "Введите пароль...") << typed;
        EXPECT_EQ(app.main.StaticTextInformation.caption, "Введите пароль...") << typed;
    }
}

TEST_F(LoginTest, GuardAfterMasterKeepsServiceButtonsAndFollowsGuardRules) {
    readModem();
    login(1, "1234");
    login(3, "0000");
    ASSERT_TRUE(app.login.loggedIn);
    EXPECT_EQ(lastText(), "Пароль принят.Статус пользователя:Охранник");
    EXPECT_TRUE(serviceButtonsEnabled());
    TreeView1Changing(app, kNodeModem);
    EXPECT_EQ(app.main.StaticTextInformation.caption, "Нет прав просмотра настроек");
    TreeView1Changing(app, 3);
    EXPECT_TRUE(app.main.TabSheet1.tabVisible);
    EXPECT_EQ(app.main.EditUserPassword.text, "0000");
}

TEST_F(LoginTest, GuardAloneUnlocksNothing) {
    readModem();
    login(3, "0000");
    EXPECT_FALSE(app.setup.BtnSavePar.enabled);
    EXPECT_FALSE(app.setup.BtnLoadPar.enabled);
    EXPECT_FALSE(app.setup.ComBoxWorkAs.visible);
}

TEST_F(LoginTest, OwnerSeesVoiceCallsAndGuards) {
    readModem();
    login(2, "5678");
    EXPECT_EQ(lastText(), "Пароль принят.Статус пользователя:Хозяин");
    TreeView1Changing(app, kNodeVoiceCall);
    EXPECT_TRUE(app.main.TabSheetECall.tabVisible);
    EXPECT_EQ(app.main.EditECallSpk.text, "60");
    TreeView1Changing(app, 1);
    EXPECT_EQ(app.main.StaticTextInformation.caption, "Нет прав просмотра настроек");
}

TEST_F(LoginTest, UnnamedStatusIsCarriedAndUnlocksNothing) {
    memory(0x0008 + 24 * 3 + 12) = 9;  // user 4's status
    readModem();
    login(4, "4321");
    EXPECT_TRUE(app.login.loggedIn);
    EXPECT_EQ(app.login.role, 9);
    EXPECT_EQ(lastText(), "Пароль принят.Статус пользователя:");
    EXPECT_FALSE(app.setup.BtnSavePar.enabled);
}

TEST_F(LoginTest, EnterInThePasswordFieldIsTheButton) {
    readModem();
    selectItem(app.main.cbUser, 0);
    app.main.EditPassword.text = "1234";
    EditPasswordKeyDown(app, 65);
    EXPECT_FALSE(app.login.loggedIn);
    EditPasswordKeyDown(app, 13);
    EXPECT_TRUE(app.login.loggedIn);
}

TEST_F(LoginTest, FailedReadEndsTheLogin) {
    readModem();
    login(1, "1234");
    modem.options().faults.rules.push_back({sim::ReplyFault::Silent, 0, 0});
    btnReadNastUserClick(app);
    EXPECT_FALSE(app.login.loggedIn);
    TreeView1Changing(app, kNodeDiagnostics);
    EXPECT_EQ(app.main.StaticTextInformation.caption, "Считайте настройки модема...");
}

class Firmware201LoginTest : public LoginTest {
  protected:
    Firmware201LoginTest() : LoginTest("0201") {}
};

TEST_F(Firmware201LoginTest, OperatingModeStaysHiddenBelow205) {
    readModem();
    login(1, "1234");
    EXPECT_TRUE(app.login.loggedIn);
    EXPECT_TRUE(app.setup.BtnSavePar.enabled);
    EXPECT_FALSE(app.setup.ComBoxWorkAs.visible);
    EXPECT_FALSE(app.setup.LabWorkAs.visible);
}

}  // namespace
}  // namespace zelar
