#include "app/pages/show_settings.h"

#include "app/shell/startup.h"
#include "app_fixture.h"

namespace zelar {
namespace {

class ShowSettingsTest : public test::AppFixture {
  protected:
    void SetUp() override { ASSERT_TRUE(FormShow(app, &profile)); }
    UserRecord& user(int n) { return app.image.users[n - 1]; }
};

TEST_F(ShowSettingsTest, UserRecordExample) {
    // Status "Хозяин", type 3, options 0x82, classes 0x0007, 12 hours, offset 20.
    user(2) = {"+79031112233", 1, 3, "5678", 0x82, 0x0007, 12, 20};
    app.main.EditUserTtestmessM.text = "30";
    ShowUserSettings(app, 2);
    const TformMain& m = app.main;
    EXPECT_EQ(m.EditUserPassword.text, "5678");
    EXPECT_EQ(m.EditUserTel.text, "+79031112233");
    EXPECT_EQ(m.cbUserStatus.text, "Хозяин");
    EXPECT_EQ(m.cbUserTypeMess.text, "Дозвон до пользователя");
    EXPECT_TRUE(m.cbUserON.checked);
    EXPECT_TRUE(m.RBtnSMSifNoGPRS.checked);
    EXPECT_FALSE(m.RBtnSMSalways.checked);
    EXPECT_EQ(m.cbUserObjectON.text, "С номером объекта");
    EXPECT_EQ(m.cbUserSystemON.text, "Без номера системы");
    EXPECT_TRUE(m.CheckBoxMessAlarmON.checked);
    EXPECT_TRUE(m.CheckBoxMessFireON.checked);
    EXPECT_TRUE(m.CheckBoxMessErrON.checked);
    EXPECT_FALSE(m.CheckBoxMessPowerON.checked);
    EXPECT_EQ(m.EditUserTtestmessH.text, "12");
    EXPECT_EQ(m.EditUserTtestmessM.text, "30");
    EXPECT_EQ(m.EditSeekObject.text, "20");
    // Calls to the user: no number formats, no test message.
    EXPECT_FALSE(m.cbUserObjectON.enabled);
    EXPECT_FALSE(m.cbUserSystemON.enabled);
    EXPECT_FALSE(m.EditUserTtestmessH.enabled);
    EXPECT_FALSE(m.cbUserTestMessON.enabled);
    EXPECT_TRUE(m.EditUserTel.enabled);
}

TEST_F(ShowSettingsTest, UserThatIsOffIsDisabledButClassesStayEnabled) {
    user(5) = {"", 7, 1, "1111", 0x00, 0x0000, 0, 0};
    ShowUserSettings(app, 5);
    const TformMain& m = app.main;
    EXPECT_FALSE(m.cbUserON.checked);
    EXPECT_FALSE(m.RBtnSMSalways.checked);
    EXPECT_FALSE(m.EditUserTel.enabled);
    EXPECT_FALSE(m.PanelUserTel.enabled);
    EXPECT_FALSE(m.cbUserStatus.enabled);
    EXPECT_EQ(m.cbUserStatus.itemIndex, -1);  // no name for status 7
    EXPECT_TRUE(m.CheckBoxMessAlarmON.enabled);
    EXPECT_TRUE(m.cbUserTestMessON.enabled);  // "SMS для АРМ" enables it again
}

TEST_F(ShowSettingsTest, GprsOffDisablesTheGroupAndServerRadiosAreSet) {
    app.image.modemFlags = 0x02;
    app.image.servers[0].flags = 0x02;
    app.image.servers[1].flags = 0x00;
    app.image.linkTestPeriod = 0;
    ShowModemSettings(app);
    const TformMain& m = app.main;
    EXPECT_FALSE(m.CheckModemFlagGPRS.checked);
    EXPECT_FALSE(m.CheckModemFlagGPRSCont.checked);
    EXPECT_FALSE(m.GBoxGPRS.enabled);
    EXPECT_TRUE(m.RBtnDNS1.checked);
    EXPECT_FALSE(m.RBtnIP1.checked);
    EXPECT_EQ(m.ComBoxTestGPRS.text, "  Выкл.");
    // Reserve not used: its whole group off.
    EXPECT_FALSE(m.CheckBoxGPRSRez2.checked);
    EXPECT_FALSE(m.EditGPRSIP2.enabled);
    EXPECT_FALSE(m.RBtnIP2.enabled);
}

TEST_F(ShowSettingsTest, DnsServerFieldsFollowEitherServer) {
    app.image.modemFlags = 0x01;
    app.image.linkTestPeriod = 10;
    app.image.servers[0].flags = 0x00;
    app.image.servers[1].flags = 0x01;
    ShowModemSettings(app);
    EXPECT_FALSE(app.main.EditGPRSDNS1.enabled);
    EXPECT_FALSE(app.main.LabelGPRSDNS2.enabled);
    EXPECT_TRUE(app.main.EditGPRSIP2.enabled);

    app.image.servers[1].flags = 0x03;
    ShowModemSettings(app);
    EXPECT_TRUE(app.main.EditGPRSDNS1.enabled);
    EXPECT_TRUE(app.main.EditGPRSWWW2.enabled);
    EXPECT_FALSE(app.main.EditGPRSWWW1.enabled);
}

TEST_F(ShowSettingsTest, SimGroupsFromTheirFlags) {
    app.image.linkTestPeriod = 10;
    app.image.sims[0] = {0x05, "1111", "62840517", "0000", "100", 25, std::string("a\0z", 3),
                         "b",  "c"};
    app.image.sims[1] = {0x00, "2222", "62840517", "0000", "102", 0, "", "", ""};
    ShowModemSettings(app);
    const TformMain& m = app.main;
    EXPECT_TRUE(m.CheckBoxSim1Pass.checked);
    EXPECT_TRUE(m.EditSim1Pin1.enabled);
    EXPECT_TRUE(m.CheckBoxSim1Ballance.checked);
    EXPECT_EQ(m.EditSim1Ballance.text, "25");
    EXPECT_TRUE(m.CheckBoxSim1Vkl.checked);
    EXPECT_FALSE(m.CheckBoxSim2Vkl.checked);
    EXPECT_FALSE(m.EditSim2Pin1.enabled);
    EXPECT_FALSE(m.EditSIM2USSD.enabled);
    EXPECT_FALSE(m.EditSim2Ballance.enabled);
    EXPECT_EQ(m.EditSIM2USSD.text, "102");
    EXPECT_EQ(m.EditSim1APN.text, "a");  // a text ends at its first NUL
}

TEST_F(ShowSettingsTest, ObjectNumberShownPlusOneOrUnset) {
    app.image.linkTestPeriod = 10;
    app.image.mainSystem = 3;
    app.image.mainObjectMinus1 = 2047;
    app.image.protocol = 7;
    ShowModemSettings(app);
    EXPECT_EQ(app.main.EditMainObj.text, "2048");
    EXPECT_EQ(app.main.ComBoxProt.text, "RPI+");
    app.image.protocol = 5;  // no name: the list keeps what it showed
    ShowModemSettings(app);
    EXPECT_EQ(app.main.ComBoxProt.text, "RPI+");
}

}  // namespace
}  // namespace zelar
