// The editing rules of the user, SIM, GPRS, object and voice call pages, driven as the window
// drives them: the model shows what the user did, then the control event table runs the rule.

#include <array>
#include <string>
#include <string_view>

#include "app/control_events.h"
#include "app/pages/collect_settings.h"
#include "app/pages/show_settings.h"
#include "app/shell/startup.h"
#include "app_fixture.h"
#include "sim_fixture.h"

namespace zelar {
namespace {

void fire(App& app, std::string_view name, ControlHandler ControlEvents::*event,
          FormId form = FormId::Main) {
    const ControlEvents* events = findControlEvents(form, name);
    ASSERT_TRUE(events != nullptr && events->*event != nullptr) << name;
    (events->*event)(app);
}
constexpr auto kClick = &ControlEvents::click;
constexpr auto kChange = &ControlEvents::change;
constexpr auto kExit = &ControlEvents::exit;

class PageRulesTest : public test::AppFixture {
  protected:
    void SetUp() override { ASSERT_TRUE(FormShow(app, &profile)); }
    // The single message shown since the last call, or "" when there was none.
    std::string message(MessageIcon icon = MessageIcon::Warning) {
        std::string text;
        if (dialogs.messages.size() == 1) {
            EXPECT_EQ(dialogs.messages[0].caption, "Модем");
            EXPECT_EQ(dialogs.messages[0].icon, icon);
            text = dialogs.messages[0].text;
        }
        EXPECT_LE(dialogs.messages.size(), 1u);
        dialogs.messages.clear();
        return text;
    }
    void showUser(int n, int status, std::uint8_t options, std::uint8_t type = 0) {
        app.image.users[n - 1] = {
            "+79031112233", static_cast<std::uint8_t>(status), type, "1234", options, 0x3F, 4, 0};
        m.TreeView1.selected = n;
        ShowUserSettings(app, n);
    }
    TformMain& m = app.main;
};

TEST_F(PageRulesTest, EnablingTheUserIgnoresTheTypeAndDisablingClearsBothRadios) {
    showUser(2, kRoleGuard, 0x00, 3);  // off, calls to the user
    m.cbUserON.checked = true;
    fire(app, "cbUserON", kClick);
    EXPECT_TRUE(m.RBtnSMSalways.checked);
    EXPECT_TRUE(m.EditUserTtestmessH.enabled && m.cbUserObjectON.enabled &&
                m.PanelMessCodes.enabled);
    EXPECT_FALSE(m.EditUserTtestmessM.enabled);  // the minutes are not this rule's

    m.RBtnSMSifNoGPRS.checked = true;
    m.cbUserON.checked = false;
    fire(app, "cbUserON", kClick);
    EXPECT_FALSE(m.RBtnSMSalways.checked || m.RBtnSMSifNoGPRS.checked);
    EXPECT_FALSE(m.EditUserTel.enabled || m.PanelUserTel.enabled || m.CheckBoxMessInfOn.enabled);
    TSettingsImage image = app.image;
    ASSERT_TRUE(CollectUserSettings(app, 2, image));
    EXPECT_EQ(image.users[1].options & 0x81, 0);
}

TEST_F(PageRulesTest, MessageTypeTable) {
    showUser(1, kRoleMaster, 0x11);  // test message on
    struct Row {
        const char* type;
        bool hoursAndFormats, testEnabled, testChecked;
    };
    // In this order: once cleared by "Дозвон до пользователя" the check box stays cleared.
    for (const Row& row :
         {Row{"SMS для АРМ", false, true, true}, Row{"Дозвон до пользователя", false, false, false},
          Row{"SMS сообщение", true, true, false}}) {
        selectItemText(m.cbUserTypeMess, row.type);
        fire(app, "cbUserTypeMess", kChange);
        EXPECT_EQ(m.EditUserTtestmessH.enabled, row.hoursAndFormats) << row.type;
        EXPECT_EQ(m.cbUserSystemON.enabled, row.hoursAndFormats) << row.type;
        EXPECT_EQ(m.cbUserTestMessON.enabled, row.testEnabled) << row.type;
        EXPECT_EQ(m.cbUserTestMessON.checked, row.testChecked) << row.type;
        EXPECT_TRUE(m.EditUserTtestmessM.enabled && m.CheckBoxMessFireON.enabled) << row.type;
    }
}

TEST_F(PageRulesTest, OneMasterMustRemainAmongTheStoredStatuses) {
    constexpr int M = kRoleMaster, O = kRoleOwner, G = kRoleGuard;
    struct Row {
        std::array<int, 6> stored;
        int shown;
        const char* picked;
        bool refused;
    };
    for (const Row& row : {Row{{M, O, G, O, G, O}, 1, "Хозяин", true},
                           Row{{O, G, O, G, G, M}, 6, "Охранник", true},  // going round
                           Row{{M, O, G, M, O, G}, 1, "Охранник", false},
                           Row{{M, O, G, G, M, G}, 5, "Хозяин", false},
                           Row{{O, M, G, G, G, G}, 1, "Охранник", false}}) {
        showUser(row.shown, row.stored[row.shown - 1], 0x01);
        for (int i = 0; i < 6; ++i)
            app.image.users[i].status = static_cast<std::uint8_t>(row.stored[i]);
        selectItemText(m.cbUserStatus, row.picked);
        fire(app, "cbUserStatus", kChange);
        EXPECT_EQ(message(), row.refused ? "В системе должен остаться хотябы один мастер" : "");
        EXPECT_EQ(m.cbUserStatus.text, row.refused ? "Мастер" : row.picked);
    }
}

TEST_F(PageRulesTest, MinutesCorrectedOnLeaving) {
    // Pasted text that is not a number becomes "0", as an empty field does.
    for (const auto& [typed, left] : {std::pair{"", "0"},
                                      {"75", "60"},
                                      {"60", "60"},
                                      {"07", "07"},
                                      {"99999999999999999999", "60"},
                                      {"1a", "0"}}) {
        m.EditUserTtestmessM.text = typed;
        fire(app, "EditUserTtestmessM", kExit);
        EXPECT_EQ(m.EditUserTtestmessM.text, left) << '"' << typed << '"';
    }
}

TEST_F(PageRulesTest, SimAutoDetection) {
    m.CheckBoxSim1Ballance.checked = true;
    fire(app, "CheckBoxSim1Ballance", kClick);
    EXPECT_TRUE(m.EditSim1Ballance.enabled);
    EXPECT_FALSE(m.EditSIM1USSD.enabled || m.BitBtnSIM1HelpUSSD.enabled);

    m.AutoSetPar2.checked = false;
    fire(app, "AutoSetPar2", kClick);
    EXPECT_TRUE(m.EditSIM2USSD.enabled && m.BitBtnSIM2HelpUSSD.enabled && m.LabelSim2APN.enabled);
}

TEST_F(PageRulesTest, OperatorDialogFillsTheSimItWasOpenedFrom) {
    m.EditSIM1USSD.text = "111";
    m.EditSim2NAME.text = "name";
    m.EditSim2PASS.text = "word";
    fire(app, "BitBtnSIM2HelpUSSD", kClick);
    app.ussd.RadioMts.checked = false;
    app.ussd.RadioUtel.checked = true;
    fire(app, "ButtonUSSDOperator", kClick, FormId::Ussd);
    EXPECT_EQ(m.EditSIM2USSD.text, "102");
    EXPECT_EQ(m.EditSim2APN.text, "internet.usi.ru");
    EXPECT_EQ(m.EditSim2NAME.text + m.EditSim2PASS.text, "");
    EXPECT_EQ(m.EditSIM1USSD.text, "111");

    fire(app, "BitBtnSIM1HelpUSSD", kClick);
    EXPECT_TRUE(app.ussd.RadioUtel.checked);  // kept between openings
    fire(app, "BitBtnUSSDClose", kClick, FormId::Ussd);
    EXPECT_EQ(m.EditSIM1USSD.text, "111");
    EXPECT_EQ(dialogs.shownWindows, (std::vector{WindowId::Ussd, WindowId::Ussd}));
    EXPECT_EQ(dialogs.closedWindows, (std::vector{WindowId::Ussd, WindowId::Ussd}));
}

class GprsRulesTest : public PageRulesTest {
  protected:
    void SetUp() override {
        PageRulesTest::SetUp();
        m.CheckModemFlagGPRS.checked = true;
        fire(app, "CheckModemFlagGPRS", kClick);
        m.CheckBoxGPRSRez2.checked = true;
        fire(app, "CheckBoxGPRSRez2", kClick);
    }
    void choose(RadioButton& button, RadioButton& partner, std::string_view name) {
        button.checked = true;
        partner.checked = false;
        fire(app, name, kClick);
    }
    bool dnsServers() const { return m.EditGPRSDNS2.enabled && m.LabelGPRSDNS1.enabled; }
};

TEST_F(GprsRulesTest, AddressRadiosAndTheDnsServers) {
    choose(m.RBtnDNS2, m.RBtnIP2, "RBtnDNS2");
    EXPECT_TRUE(dnsServers());
    EXPECT_TRUE(m.EditGPRSWWW2.enabled && !m.EditGPRSIP2.enabled);
    choose(m.RBtnIP1, m.RBtnDNS1, "RBtnIP1");  // the reserve server is still named
    EXPECT_TRUE(dnsServers());
    choose(m.RBtnIP2, m.RBtnDNS2, "RBtnIP2");
    EXPECT_FALSE(dnsServers() || m.EditGPRSDNS1.enabled || m.LabelGPRSDNS2.enabled);
    EXPECT_TRUE(m.EditGPRSIP2.enabled && !m.EditGPRSWWW2.enabled);

    choose(m.RBtnDNS1, m.RBtnIP1, "RBtnDNS1");
    m.CheckModemFlagGPRS.checked = false;
    fire(app, "CheckModemFlagGPRS", kClick);
    m.CheckModemFlagGPRS.checked = true;
    fire(app, "CheckModemFlagGPRS", kClick);
    EXPECT_TRUE(m.EditGPRSWWW1.enabled && !m.EditGPRSIP1.enabled && dnsServers());
}

TEST_F(GprsRulesTest, LeavingTheGroupWithANamedServerAsksForDnsServers) {
    struct Row {
        bool mainByName, reserveByName, reserveUsed;
        const char* dns1;
        const char* dns2;
        const char* focus;
    };
    for (const Row& row :
         {Row{true, false, true, "8.8.8.8", "", "EditGPRSDNS2"},
          Row{true, false, true, "", "", "EditGPRSDNS1"},
          Row{false, true, false, "", "1.1.1.1", "EditGPRSDNS1"},
          Row{true, true, true, "8.8.8.8", "1.1.1.1", ""}, Row{false, false, true, "", "", ""}}) {
        m.focusRequest.clear();
        m.RBtnDNS1.checked = row.mainByName;
        m.RBtnIP1.checked = !row.mainByName;
        m.RBtnDNS2.checked = row.reserveByName;
        m.RBtnIP2.checked = !row.reserveByName;
        m.CheckBoxGPRSRez2.checked = row.reserveUsed;
        m.EditGPRSDNS1.text = row.dns1;
        m.EditGPRSDNS2.text = row.dns2;
        fire(app, "GBoxGPRS", kExit);
        EXPECT_EQ(m.focusRequest, row.focus);
        const bool asked = *row.focus != '\0';
        EXPECT_EQ(message(MessageIcon::None), asked ? "Введите IP-адреса DNS-серверов" : "");
    }
}

TEST_F(PageRulesTest, CallCheckBoxesLeaveTheNumbersTexts) {
    m.EditECallN3.text = "112";
    m.CheckBoxECallEn.checked = false;
    fire(app, "CheckBoxECallEn", kClick);
    EXPECT_FALSE(m.EditECallN3.enabled || m.LabelECallN5.enabled || m.LabelECallNumbers.enabled);
    EXPECT_EQ(m.EditECallN3.text, "112");
    m.CheckBoxInCall.checked = true;
    fire(app, "CheckBoxInCall", kClick);
    EXPECT_TRUE(m.EditInCallN3.enabled && m.LabelInCallN1.enabled && m.LabelInCall.enabled);
}

TEST_F(PageRulesTest, AudioLevelsCheckedOnLeaving) {
    const std::string spk = "Громкость динамика должна быть от 1 до 100";
    const std::string mic = "Чувствительность микрофона должна быть от 1 до 15";
    // Pasted text that is not a number is out of range.
    for (const auto& [field, text, expected] :
         {std::tuple{"EditECallSpk", "", std::string("Введите значение громкости динамика")},
          {"EditECallSpk", "0", spk},
          {"EditECallSpk", "101", spk},
          {"EditECallSpk", "100", ""},
          {"EditECallSpk", "9x", spk},
          {"EditECallMic", "", "Введите чувствительность микрофона"},
          {"EditECallMic", "16", mic},
          {"EditECallMic", "1", ""}}) {
        Edit& edit = std::string_view(field) == "EditECallSpk" ? m.EditECallSpk : m.EditECallMic;
        edit.text = text;
        m.focusRequest.clear();
        fire(app, field, kExit);
        EXPECT_EQ(message(), expected) << field << " \"" << text << '"';
        EXPECT_EQ(m.focusRequest, expected.empty() ? "" : field);
        EXPECT_EQ(edit.text, text);
    }
}

TEST_F(PageRulesTest, KeyFilters) {
    constexpr std::string_view kProbes = "07+.a";
    const std::pair<const Edit*, std::string_view> rows[] = {
        {&m.EditUserTel, "07+"},     {&m.EditUserTtestmessM, "07"}, {&m.EditSim2Pin1, "07"},
        {&m.EditSim1Ballance, "07"}, {&m.EditGPRSIP2, "07."},       {&m.EditGPRSDNS1, "07."},
        {&m.EditGPRSPort1, "07"},    {&m.EditGPRSWWW1, kProbes},    {&m.EditSerialN, "07"},
        {&m.EditECallN3, kProbes},   {&m.EditECallN4, "07+"},       {&m.EditInCallN2, "07+"},
        {&m.EditECallMic, "07"},     {&m.EditSeekObject, kProbes},
    };
    for (std::size_t row = 0; row < std::size(rows); ++row) {
        const auto& [edit, accepted] = rows[row];
        std::string passed;
        for (char key : kProbes) {
            if (acceptsKey(*edit, static_cast<char32_t>(key)))
                passed += key;
        }
        EXPECT_EQ(passed, accepted) << "row " << row;
        EXPECT_TRUE(acceptsKey(*edit, U'\b')) << "row " << row;
    }
}

class ResetSysObjTest : public test::SimFixture {
  protected:
    void SetUp() override {
        modem.setLog([this](const std::string& line) {
            if (line.rfind("> ", 0) == 0)
                commands += line.substr(2) + "\\r";
        });
        app.main.EditMainObj.text = "345";
    }
    std::string commands;
};

TEST_F(ResetSysObjTest, AnsweredNoSendsNothing) {
    dialogs.answers.push_back(MessageResult::No);
    fire(app, "BtnResetSysObj", kClick);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "Сбросить настройки адреса?");
    EXPECT_EQ(dialogs.messages[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(modem.commandsSeen(), 0);
}

TEST_F(ResetSysObjTest, ModemAnswersOk) {
    fire(app, "BtnResetSysObj", kClick);  // Yes is the default answer
    EXPECT_EQ(commands, "AT+V4000040006\\r");
    EXPECT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(app.main.StatusBar1.text, "Основные система и объект успешно сброшены");
    EXPECT_EQ(memory(0x021D) | memory(0x021E) << 8, 3999);  // object 4000, stored less one
    EXPECT_EQ(app.main.EditMainObj.text, "345");
    EXPECT_TRUE(app.main.BtnResetSysObj.enabled && !port.isOpen());
    EXPECT_EQ(app.main.BSprogressBarLine1.position, 0);
}

TEST_F(ResetSysObjTest, NoAnswerIsAWriteError) {
    modem.options().faults.rules.push_back({sim::ReplyFault::Silent, 40, 0});
    fire(app, "BtnResetSysObj", kClick);
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[1].text, "Ошибка записи в модем");
    EXPECT_EQ(dialogs.messages[1].icon, MessageIcon::Error);
    EXPECT_EQ(app.main.StatusBar1.text, "Ошибка записи в модем");

    cable.setPresent(false);
    fire(app, "BtnResetSysObj", kClick);
    ASSERT_EQ(dialogs.messages.size(), 4u);
    EXPECT_EQ(dialogs.messages[3].text, "Не мгу открыть порт");
}

}  // namespace
}  // namespace zelar
