#include "app/shell/read_settings.h"

#include <set>

#include "app/pages/voice_object_rules.h"
#include "app/pages/write_settings.h"
#include "app_fixture.h"
#include "sim_fixture.h"

namespace zelar {
namespace {

using sim::FaultRule;
using sim::ReplyFault;

class ReadSettingsTest : public test::SimFixture {
  protected:
    explicit ReadSettingsTest(const std::string& firmware = "0205") : SimFixture(firmware) {}

    // Reads while sampling the progress bar every 5 ms of virtual time.
    void read() {
        bool running = true;
        std::function<void()> sample = [&] {
            const int position = app.main.BSprogressBarLine1.position;
            if (positions.empty() || positions.back() != position)
                positions.push_back(position);
            if (running)
                clock.startTimer(5, sample);
        };
        clock.startTimer(0, sample);
        const auto start = clock.tickMs();
        btnReadNastUserClick(app);
        elapsedMs = clock.tickMs() - start;
        running = false;
        sample();
    }
    void fault(ReplyFault kind, int command, int occurrence = 0) {
        modem.options().faults.rules.push_back(FaultRule{kind, command, occurrence});
    }
    // The V17 occurrence of read step s (step 2 is the first V17 of the read).
    static int v17Of(int step) { return step - 1; }

    std::vector<int> positions;
    std::int64_t elapsedMs = 0;
};

TEST_F(ReadSettingsTest, FullReadFillsImagePagesAndIdentification) {
    read();
    const TformMain& m = app.main;
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_TRUE(app.settingsRead);
    EXPECT_EQ(m.StatusBar1.text, "Настройки модема считаны");
    EXPECT_EQ(m.StaticTextInformation.caption, "Настройки модема считаны, введите пароль");
    EXPECT_EQ(m.BSprogressBarLine1.position, 0);
    EXPECT_TRUE(m.btnReadNastUser.enabled);
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(m.focusRequest, "EditPassword");

    EXPECT_EQ(m.StaticTextSN.caption, "Серийный номер: 7204518");
    EXPECT_EQ(m.StaticTextVer.caption, "ПО контроллера: 2.05");
    EXPECT_EQ(m.StaticTextBootVer.caption, "Версия загрузчика: 1.02");
    EXPECT_EQ(m.EditIMEI.text, "IMEI: 356938035643809");
    EXPECT_EQ(app.image.firmwareVersion, 205);

    EXPECT_EQ(app.image.users[0].password, "1234");
    EXPECT_EQ(app.image.users[0].phone, "+79161234567");
    EXPECT_EQ(app.image.users[1].status, kRoleOwner);
    EXPECT_EQ(app.image.gprsAuthName, "Склад_Север");

    // ShowModemSettings ran at the end.
    EXPECT_TRUE(m.CheckModemFlagGPRS.checked);
    EXPECT_EQ(m.EditSim1Pin1.text, "4951");
    EXPECT_EQ(m.EditSim1APN.text, "internet.mts.ru");
    EXPECT_EQ(m.ComBoxTestGPRS.text, " 1  мин.");
    EXPECT_EQ(m.EditMainSys.text, "5");
    EXPECT_EQ(m.EditMainObj.text, "1234");
    EXPECT_EQ(m.ComBoxProt.text, "RPI");
    EXPECT_TRUE(m.RBtnDNS2.checked);
    EXPECT_TRUE(m.CheckBoxGPRSRez2.checked);

    // Values that go straight to the screen.
    EXPECT_TRUE(m.AutoSetPar1.checked);
    EXPECT_FALSE(m.EditSIM1USSD.enabled);
    EXPECT_FALSE(m.AutoSetPar2.checked);
    EXPECT_TRUE(m.EditSim2APN.enabled);
    EXPECT_EQ(m.EditSerialN.text, "7204518");
    EXPECT_EQ(m.EditECallMic.text, "8");
    EXPECT_EQ(m.EditECallSpk.text, "60");
    EXPECT_EQ(m.EditECallN2.text, "+79031112233");
    EXPECT_TRUE(m.CheckBoxECallEn.checked);
    EXPECT_EQ(m.EditInCallN2.text, "89031112233");
    EXPECT_TRUE(m.EditInCallN1.enabled);
    EXPECT_EQ(app.setup.ComBoxWorkAs.text, "Оконечное устройство");
}

// A USB adapter's small pieces, and replies late but inside the wait, read the same settings.
TEST_F(ReadSettingsTest, AdapterPiecesAndLateRepliesWithinTheWaitReadTheSame) {
    for (const char* rule : {"pieces", "late-within:22", "late-within:17@1"}) {
        SCOPED_TRACE(rule);
        app.settingsRead = false;
        app.image = {};
        modem.options().faults.rules = {*sim::parseFaultRule(rule)};
        read();
        EXPECT_TRUE(dialogs.messages.empty());
        EXPECT_TRUE(app.settingsRead);
        EXPECT_EQ(app.main.StatusBar1.text, "Настройки модема считаны");
        EXPECT_EQ(app.main.StaticTextSN.caption, "Серийный номер: 7204518");
        EXPECT_EQ(app.image.dns2, "77.88.8.8");
        EXPECT_EQ(app.image.gprsAuthPassword, "z2pass");
        EXPECT_EQ(app.image.mainObjectMinus1, 1233);
    }
}

TEST_F(ReadSettingsTest, ProgressAdvancesTwentySixTimesThenResets) {
    read();
    EXPECT_EQ(app.main.BSprogressBarLine1.stepsTaken, 26);
    EXPECT_EQ(app.main.BSprogressBarLine1.max, 26);
    std::vector<int> expected;
    for (int i = 0; i <= 25; ++i)
        expected.push_back(i);
    expected.push_back(0);  // the last step is followed at once by the reset
    EXPECT_EQ(positions, expected);
    // 26 polled steps and two fixed waits of 300 ms.
    EXPECT_GE(elapsedMs, 3000);
    EXPECT_LE(elapsedMs, 4000);
}

TEST_F(ReadSettingsTest, SuccessfulReadKeepsAnAcceptedLogin) {
    app.login = {true, kRoleMaster, 1};
    read();
    EXPECT_TRUE(app.login.loggedIn);
}

TEST_F(ReadSettingsTest, SilentModemFailsAfterAboutFiveSeconds) {
    app.settingsRead = true;
    app.login = {true, kRoleMaster, 1};
    fault(ReplyFault::Silent, 0);
    read();
    EXPECT_GE(elapsedMs, 5000);
    EXPECT_LT(elapsedMs, 5200);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "Ошибка чтения настроек");
    EXPECT_EQ(dialogs.messages[0].caption, "Модем");
    EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::Error);
    EXPECT_FALSE(app.settingsRead);
    EXPECT_FALSE(app.login.loggedIn);
    EXPECT_EQ(app.main.StatusBar1.text, "Ошибка чтения настроек");
    EXPECT_EQ(app.main.StaticTextInformation.caption, "Ошибка чтения настроек");
    EXPECT_EQ(app.main.BSprogressBarLine1.position, 0);
    EXPECT_TRUE(app.main.btnReadNastUser.enabled);
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(app.image.firmwareVersion, 0);
}

TEST_F(ReadSettingsTest, PortThatCannotOpenChangesNothing) {
    app.settingsRead = true;
    cable.setPresent(false);
    read();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "Не могу открыть порт");
    EXPECT_EQ(dialogs.messages[0].caption, "Модем");
    EXPECT_TRUE(app.settingsRead);
    EXPECT_TRUE(app.main.btnReadNastUser.enabled);

    dialogs.messages.clear();
    selectItem(app.main.ComboBox1, -1);
    cable.setPresent(true);
    read();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "Не могу открыть порт");
    EXPECT_EQ(modem.commandsSeen(), 0);
}

// A voice call block that cannot be read (a firmware may answer it without "OK") does not fail
// the read; its page shows none of the values it held before, maybe another modem's, and is not
// written until a read fills it.
class VoiceCallBlockFault : public ReadSettingsTest,
                            public ::testing::WithParamInterface<ReplyFault> {};

TEST_P(VoiceCallBlockFault, EmptiesAndLocksTheVoicePageUntilARead) {
    TformMain& m = app.main;
    read();
    ASSERT_EQ(m.EditECallMic.text, "8");
    fault(GetParam(), 17, v17Of(26));
    read();
    EXPECT_TRUE(app.settingsRead);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(m.EditInCallN2.text, "89031112233");
    const Control* locked[] = {&m.CheckBoxECallEn, &m.LabelECallNumbers, &m.EditECallN1,
                               &m.EditECallN5,     &m.LabelECallN1,      &m.EditECallSpk,
                               &m.EditECallMic};
    for (const Control* c : locked)
        EXPECT_FALSE(c->enabled);
    EXPECT_FALSE(m.CheckBoxECallEn.checked);
    EXPECT_EQ(m.EditECallMic.text + m.EditECallSpk.text + m.EditECallN1.text, "");
    // `read` and `dump` leave out the eight controls of the lost block's values.
    EXPECT_EQ(withoutUnreadValues(app, voiceCallPageControls(m)).size(),
              voiceCallPageControls(m).size() - 8);

    app.login = {true, kRoleMaster, 1};
    m.TreeView1.selected = kNodeVoiceCall;
    m.activePage = Page::TabSheetECall;
    const int seen = modem.commandsSeen();
    EXPECT_FALSE(ButtonWriteNastrClick(app));
    EXPECT_EQ(lastMessage()->text,
              "Настройки голосового вызова не считаны из модема. Считайте настройки ещё раз");
    EXPECT_EQ(modem.commandsSeen(), seen);

    modem.options().faults.rules.clear();
    read();
    for (const Control* c : locked)
        EXPECT_TRUE(c->enabled);
    EXPECT_EQ(m.EditECallMic.text, "8");
}

INSTANTIATE_TEST_SUITE_P(Kinds, VoiceCallBlockFault,
                         ::testing::Values(ReplyFault::NoOk, ReplyFault::Corrupt,
                                           ReplyFault::Silent));

TEST_F(ReadSettingsTest, StepTwentySevenWithANonHexNumberCharacterFails) {
    // The first number's first character becomes a non-hexadecimal one.
    modem.options().faults.corruptCount = 4;
    fault(ReplyFault::Corrupt, 17, v17Of(27));
    read();
    EXPECT_FALSE(app.settingsRead);
    EXPECT_EQ(lastMessage()->text, "Ошибка чтения настроек");
}

TEST_F(ReadSettingsTest, ShortReplyOnAFrameStepFails) {
    fault(ReplyFault::NoOk, 17, v17Of(7));
    read();
    EXPECT_FALSE(app.settingsRead);
    // Nothing after the failed step is asked.
    EXPECT_EQ(modem.commandsSeen(), 7);
}

TEST_F(ReadSettingsTest, StrayBytesMakeALengthStepFail) {
    fault(ReplyFault::StrayAfter, 17, v17Of(3));
    read();
    EXPECT_FALSE(app.settingsRead);
}

TEST_F(ReadSettingsTest, SplitAndLateRepliesWithinTheWaitStillRead) {
    fault(ReplyFault::Split, 17);
    read();
    EXPECT_TRUE(app.settingsRead) << (dialogs.messages.empty() ? "" : dialogs.messages[0].text);
}

TEST_F(ReadSettingsTest, OperatingModeByItsLowDigit) {
    memory(0x0220) = 0x01;
    read();
    EXPECT_EQ(app.setup.ComBoxWorkAs.text, "Терминал");
    memory(0x0220) = 0x11;
    read();
    EXPECT_EQ(app.setup.ComBoxWorkAs.text, "Терминал");
    memory(0x0220) = 0x02;
    read();
    EXPECT_EQ(app.setup.ComBoxWorkAs.text, "Оконечное устройство");
}

TEST_F(ReadSettingsTest, LinkTestPeriodWithAndWithoutAnEntry) {
    memory(0x0219) = 0x0E;
    memory(0x021A) = 0x10;
    read();
    EXPECT_EQ(app.main.ComBoxTestGPRS.text, " 1  час");
    EXPECT_TRUE(dialogs.messages.empty());

    memory(0x0219) = 0x00;
    memory(0x021A) = 0x05;
    read();
    EXPECT_TRUE(app.settingsRead);
    EXPECT_EQ(app.main.ComBoxTestGPRS.text, "???");
    EXPECT_EQ(app.main.ComBoxTestGPRS.itemIndex, -1);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text,
              "Некорректное значение периода тестов GPRS. Пожалуйста, выбрете период из "
              "предлженного списка");
    EXPECT_EQ(dialogs.messages[0].caption, "Тест GPRS");
    EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::Warning);
    // The warning comes after every page was filled.
    EXPECT_EQ(app.main.EditMainObj.text, "1234");
}

TEST_F(ReadSettingsTest, UnsetObjectShowsQuestionMarks) {
    memory(0x021D) = 0x00;
    memory(0x021E) = 0x08;
    read();
    EXPECT_EQ(app.main.EditMainSys.text, "-?-");
    EXPECT_EQ(app.main.EditMainObj.text, "-?-");
    EXPECT_EQ(app.main.ComBoxProt.text, "-?-");
    EXPECT_TRUE(app.settingsRead);
}

class OldFirmwareReadTest : public ReadSettingsTest {
  protected:
    OldFirmwareReadTest() : ReadSettingsTest("0150") {}
};

TEST_F(OldFirmwareReadTest, ShortEndingAfterStepThirteen) {
    app.main.EditSim1Pin1.text = "kept";
    fault(ReplyFault::Silent, 17, v17Of(5));
    read();
    EXPECT_EQ(app.image.firmwareVersion, 150);
    EXPECT_TRUE(app.settingsRead);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(app.main.StatusBar1.text, "Настройки модема считаны");
    EXPECT_EQ(app.main.StaticTextInformation.caption, "Настройки модема считаны, введите пароль");
    EXPECT_EQ(positions.back(), 0);
    EXPECT_NE(std::find(positions.begin(), positions.end(), 26), positions.end());
    EXPECT_EQ(app.main.EditSim1Pin1.text, "kept");  // pages are not filled
    EXPECT_EQ(modem.commandsSeen(), 5);
    EXPECT_TRUE(app.main.btnReadNastUser.enabled);
    EXPECT_FALSE(port.isOpen());
}

// Replies scripted by time, for those the simulated modem never sends.
class ScriptedReadTest : public test::AppFixture {
  protected:
    void SetUp() override {
        app.main.ComboBox1.items = {"COM4"};
        selectItem(app.main.ComboBox1, 0);
    }
};

TEST_F(ScriptedReadTest, IdentificationTextsAndVersionNumber) {
    ASSERT_TRUE(showIdentification(app, "1234560702050123"));
    EXPECT_EQ(app.main.StaticTextSN.caption, "Серийный номер: 7123456");
    EXPECT_EQ(app.main.StaticTextVer.caption, "ПО контроллера: 2.05");
    EXPECT_EQ(app.main.StaticTextBootVer.caption, "Версия загрузчика: 1.23");
    EXPECT_EQ(app.image.firmwareVersion, 205);

    ASSERT_TRUE(showIdentification(app,
                                   "12345607130501"
                                   "23"));
    EXPECT_EQ(app.main.StaticTextVer.caption, "ПО контроллера: 13.05");
    EXPECT_EQ(app.image.firmwareVersion, 1305);

    ASSERT_TRUE(showIdentification(app, "1234564D2.0X0123"));
    EXPECT_EQ(app.main.StaticTextSN.caption, "Серийный номер: 77123456");
    EXPECT_EQ(app.image.firmwareVersion, 0);

    // A label shows what the modem sent up to its first NUL.
    ASSERT_TRUE(showIdentification(app, std::string("12\0"
                                                    "4560702\0"
                                                    "50123",
                                                    16)));
    EXPECT_EQ(app.main.StaticTextSN.caption, "Серийный номер: 712");
    EXPECT_EQ(app.main.StaticTextVer.caption, "ПО контроллера: 2.");

    EXPECT_FALSE(showIdentification(app, "123456ZZ02050123"));
    EXPECT_FALSE(showIdentification(app, "short"));
}

TEST_F(ScriptedReadTest, TwentyThreeCharacterIdentificationFailsTheRead) {
    port.arrive(20, "\r\n123456070205012\r\nOK\r\n");
    btnReadNastUserClick(app);
    EXPECT_FALSE(app.settingsRead);
    EXPECT_EQ(app.image.firmwareVersion, 0);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "Ошибка чтения настроек");
    EXPECT_EQ(port.sent.size(), 1u);
}

TEST_F(ScriptedReadTest, DriverFailureIsShownAndTheReadEndsInOrder) {
    port.failRead = true;
    btnReadNastUserClick(app);
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[0].text, "Read data error");
    EXPECT_EQ(dialogs.messages[1].text, "Ошибка чтения настроек");
    EXPECT_TRUE(app.main.btnReadNastUser.enabled);
    EXPECT_FALSE(port.isOpen());
}

}  // namespace
}  // namespace zelar
