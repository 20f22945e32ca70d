#include "app/shell/startup.h"

#include "app/core/port_list.h"
#include "app_fixture.h"

namespace zelar {
namespace {

using test::AppFixture;

class StartupTest : public AppFixture {
  protected:
    void SetUp() override { devices.names = {"COM2", "COM11", "COM1", "COM10"}; }
    int stored(const std::string& key) { return profile.values.at({"Modem", key}); }
};

TEST_F(StartupTest, PortListIsSortedAsText) {
    devices.names = {"COM2", "COM11", "COM1", "COM10", "COM2", "com3"};
    EXPECT_EQ(enumeratePorts(devices),
              (std::vector<std::string>{"COM1", "COM10", "COM11", "COM2", "COM3"}));
}

TEST_F(StartupTest, OpeningThePortListRefreshesItAndKeepsTheSelection) {
    devices.names = {"COM1", "COM2"};
    devices.paths = {{1, "/dev/ttyS0"}, {2, "/dev/ttyS1"}, {33, "/dev/ttyUSB0"}};
    ASSERT_TRUE(FormShow(app, &profile));
    EXPECT_EQ(app.main.ComboBox1.itemHints, (std::vector<std::string>{"/dev/ttyS0", "/dev/ttyS1"}));
    selectItemText(app.main.ComboBox1, "COM2");

    devices.names = {"COM1", "COM2", "COM33"};
    ComboBox1DropDown(app);
    EXPECT_EQ(app.main.ComboBox1.items, (std::vector<std::string>{"COM1", "COM2", "COM33"}));
    EXPECT_EQ(app.main.ComboBox1.itemHints[2], "/dev/ttyUSB0");
    EXPECT_EQ(app.main.ComboBox1.text, "COM2");

    devices.names = {"COM1", "COM33"};
    ComboBox1DropDown(app);
    EXPECT_EQ(app.main.ComboBox1.itemIndex, -1);
    EXPECT_EQ(app.main.ComboBox1.text, "");
}

TEST_F(StartupTest, FirstStartSelectsNoPortAndExpertMode) {
    ASSERT_TRUE(FormShow(app, &profile));
    EXPECT_EQ(app.main.ComboBox1.items,
              (std::vector<std::string>{"COM1", "COM10", "COM11", "COM2"}));
    EXPECT_EQ(app.main.ComboBox1.itemIndex, -1);
    EXPECT_EQ(app.main.cbExpert.text, "Эксперт");
    for (Panel* panel : app.main.expertPanels())
        EXPECT_TRUE(panel->visible);
    EXPECT_EQ(visiblePages(), std::vector<Page>{Page::TabSheet3});
    EXPECT_EQ(app.main.StaticTextInformation.caption, "Считайте настройки модема...");
    EXPECT_EQ(app.main.StatusBar1.text, "Считайте настройки модема...");
    EXPECT_FALSE(app.settingsRead);
    EXPECT_FALSE(app.login.loggedIn);
    EXPECT_EQ(app.login.role, kRoleNone);
}

TEST_F(StartupTest, StoredPortAndModeAreRestored) {
    profile.values[{"Modem", "Com"}] = 11;
    profile.values[{"Modem", "Expert"}] = 0;
    ASSERT_TRUE(FormShow(app, &profile));
    EXPECT_EQ(app.main.ComboBox1.text, "COM11");
    EXPECT_EQ(*currentPortNumber(app.main), 11);
    EXPECT_EQ(app.main.cbExpert.text, "Пользователь");
    for (Panel* panel : app.main.expertPanels())
        EXPECT_FALSE(panel->visible);
}

TEST_F(StartupTest, AnyOtherExpertValueIsExpertMode) {
    profile.values[{"Modem", "Expert"}] = 5;
    ASSERT_TRUE(FormShow(app, &profile));
    EXPECT_EQ(app.main.cbExpert.itemIndex, 1);
    EXPECT_TRUE(app.main.PanelExpert4.visible);
}

TEST_F(StartupTest, PortThatIsGoneSelectsNothingAndKeepsTheStoredValue) {
    profile.values[{"Modem", "Com"}] = 7;
    ASSERT_TRUE(FormShow(app, &profile));
    EXPECT_EQ(app.main.ComboBox1.itemIndex, -1);
    EXPECT_EQ(app.main.ComboBox1.text, "");
    FormClose(app, profile);
    EXPECT_EQ(stored("Com"), 7);
    EXPECT_EQ(profile.writes, std::vector<std::string>{"Expert"});
}

TEST_F(StartupTest, UserPageStartsBlank) {
    app.main.EditUserTel.text = "+79991234567";
    app.main.cbUserON.checked = true;
    selectItem(app.main.cbUser, 4);
    ASSERT_TRUE(FormShow(app, &profile));
    const TformMain& m = app.main;
    EXPECT_EQ(m.cbUser.text, "1");
    EXPECT_EQ(m.EditUserTel.text, "");
    EXPECT_EQ(m.cbUserStatus.text, "Охранник");
    EXPECT_EQ(m.cbUserTypeMess.text, "SMS сообщение");
    EXPECT_FALSE(m.cbUserON.checked);
    EXPECT_EQ(m.cbUserObjectON.text, "Без номера объекта");
    EXPECT_EQ(m.cbUserSystemON.text, "Без номера системы");
    EXPECT_FALSE(m.cbUserPriority.checked);
    EXPECT_FALSE(m.cbUserTestMessON.checked);
    EXPECT_EQ(m.EditUserTtestmessH.text, "4");
    EXPECT_EQ(m.EditUserTtestmessM.text, "00");
}

TEST_F(StartupTest, MissingConfigurationEndsTheProgram) {
    EXPECT_FALSE(FormShow(app, nullptr));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "Файл конфигурации не найден");
    EXPECT_EQ(dialogs.messages[0].caption, "Ошибка");
    EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::Error);
}

TEST_F(StartupTest, CloseSavesPortThenMode) {
    ASSERT_TRUE(FormShow(app, &profile));
    selectItemText(app.main.ComboBox1, "COM10");
    selectItem(app.main.cbExpert, 0);
    FormClose(app, profile);
    EXPECT_EQ(profile.writes, (std::vector<std::string>{"Com", "Expert"}));
    EXPECT_EQ(stored("Com"), 10);
    EXPECT_EQ(stored("Expert"), 0);
}

TEST_F(StartupTest, CloseWithoutFolderSavesNothing) {
    ASSERT_TRUE(FormShow(app, &profile));
    selectItemText(app.main.ComboBox1, "COM2");
    profile.folderCreatable = false;
    FormClose(app, profile);
    EXPECT_TRUE(profile.writes.empty());
}

TEST_F(StartupTest, CurrentPortComesFromTheSelectedEntry) {
    app.main.ComboBox1.items = {"COM12", "COM3", "COMx", "COM"};
    selectItem(app.main.ComboBox1, 0);
    EXPECT_EQ(*currentPortNumber(app.main), 12);
    selectItem(app.main.ComboBox1, 1);
    EXPECT_EQ(*currentPortNumber(app.main), 3);
    selectItem(app.main.ComboBox1, 2);
    EXPECT_FALSE(currentPortNumber(app.main));
    EXPECT_FALSE(openLinkOnCurrentPort(app));
    selectItem(app.main.ComboBox1, 3);
    EXPECT_FALSE(currentPortNumber(app.main));
    selectItem(app.main.ComboBox1, -1);
    EXPECT_FALSE(openLinkOnCurrentPort(app));
    EXPECT_EQ(port.openCount, 0);

    selectItem(app.main.ComboBox1, 0);
    EXPECT_TRUE(openLinkOnCurrentPort(app));
    EXPECT_EQ(port.openedNumber, 12);
    port.failOpen = true;
    EXPECT_FALSE(openLinkOnCurrentPort(app));
}

}  // namespace
}  // namespace zelar
