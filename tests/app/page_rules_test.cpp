// The editing rules of the user, SIM, GPRS, object and voice call pages, driven the way the
// window drives them: through the control event table, after the model shows what the user did.

#include <algorithm>
#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/collect_settings.h"
#include "app/control_events.h"
#include "app/show_settings.h"
#include "app/startup.h"
#include "app_fixture.h"
#include "forms/operator_presets.h"
#include "sim_fixture.h"

namespace zelar {
namespace {

void fire(App& app, FormId form, std::string_view name, ControlHandler ControlEvents::*event) {
    const ControlEvents* events = findControlEvents(form, name);
    ASSERT_NE(events, nullptr) << name;
    ASSERT_NE(events->*event, nullptr) << name;
    (events->*event)(app);
}
void click(App& app, std::string_view name, FormId form = FormId::Main) {
    fire(app, form, name, &ControlEvents::click);
}
void change(App& app, std::string_view name) {
    fire(app, FormId::Main, name, &ControlEvents::change);
}
void leave(App& app, std::string_view name) {
    fire(app, FormId::Main, name, &ControlEvents::exit);
}

class PageRulesTest : public test::AppFixture {
  protected:
    void SetUp() override { ASSERT_TRUE(FormShow(app, &profile)); }

    std::vector<std::string> messageTexts() const {
        std::vector<std::string> texts;
        for (const auto& message : dialogs.messages)
            texts.push_back(message.text);
        return texts;
    }

    TformMain& m = app.main;
};

// ---- User page ----

class UserRulesTest : public PageRulesTest {
  protected:
    // Shows user n as the tree would, from a record with the given status and options.
    void showUser(int n, int status, std::uint8_t options, std::uint8_t type = 0) {
        app.image.users[n - 1] = {
            "+79031112233", static_cast<std::uint8_t>(status), type, "1234", options, 0x003F, 4, 0};
        m.TreeView1.selected = n;
        ShowUserSettings(app, n);
    }
    void setStored(const std::array<int, 6>& statuses) {
        for (std::size_t i = 0; i < statuses.size(); ++i)
            app.image.users[i].status = static_cast<std::uint8_t>(statuses[i]);
    }
    std::vector<Control*> userFields() {
        return {&m.RBtnSMSalways,     &m.RBtnSMSifNoGPRS,     &m.EditUserTel,
                &m.EditUserPassword,  &m.EditSeekObject,      &m.EditUserTtestmessH,
                &m.cbUserStatus,      &m.cbUserTypeMess,      &m.cbUserObjectON,
                &m.cbUserSystemON,    &m.cbUserPriority,      &m.cbUserDialON,
                &m.cbUserTestMessON,  &m.CheckBoxMessAlarmON, &m.CheckBoxMessFireON,
                &m.CheckBoxMessErrON, &m.CheckBoxMessPowerON, &m.CheckBoxMessGuardON,
                &m.CheckBoxMessInfOn, &m.PanelUserTel,        &m.PanelUserPassword,
                &m.PanelUserStatus,   &m.PanelUserTypeMess,   &m.PanelUserFormat,
                &m.PanelSeekObject,   &m.PanelUserTestMess,   &m.PanelUserPriority,
                &m.PanelMessCodes};
    }
};

TEST_F(UserRulesTest, EnablingSelectsAlwaysAndEnablesEveryFieldWhateverTheType) {
    showUser(2, kRoleGuard, 0x00, 3);  // off, calls to the user
    ASSERT_FALSE(m.EditUserTel.enabled);

    m.cbUserON.checked = true;
    click(app, "cbUserON");
    EXPECT_TRUE(m.RBtnSMSalways.checked);
    EXPECT_FALSE(m.RBtnSMSifNoGPRS.checked);
    for (Control* field : userFields())
        EXPECT_TRUE(field->enabled);
    EXPECT_FALSE(m.EditUserTtestmessM.enabled);  // the minutes are left as they were
}

TEST_F(UserRulesTest, DisablingClearsBothRadiosSoTheUserIsWrittenOff) {
    showUser(2, kRoleGuard, 0x80);  // on, "При неисправном GPRS"
    ASSERT_TRUE(m.RBtnSMSifNoGPRS.checked);

    m.cbUserON.checked = false;
    click(app, "cbUserON");
    EXPECT_FALSE(m.RBtnSMSalways.checked);
    EXPECT_FALSE(m.RBtnSMSifNoGPRS.checked);
    for (Control* field : userFields())
        EXPECT_FALSE(field->enabled);
    EXPECT_TRUE(m.EditUserTtestmessM.enabled);

    ASSERT_TRUE(CollectUserSettings(app, 2)) << (dialogs.messages.empty() ? "" : messageTexts()[0]);
    EXPECT_EQ(app.image.users[1].options & 0x81, 0);
}

struct TypeRow {
    int type;
    bool hoursAndFormats;
    bool testCheckBox;
};

TEST_F(UserRulesTest, MessageTypeTable) {
    const TypeRow rows[] = {{0, true, true}, {1, false, true}, {2, false, false}};
    for (const TypeRow& row : rows) {
        SCOPED_TRACE(row.type);
        showUser(1, kRoleMaster, 0x01);
        m.cbUserTestMessON.checked = true;
        m.EditUserTtestmessM.enabled = false;  // neither the minutes nor the classes are touched
        m.CheckBoxMessFireON.enabled = false;
        selectItem(m.cbUserTypeMess, row.type);
        change(app, "cbUserTypeMess");
        EXPECT_EQ(m.EditUserTtestmessH.enabled, row.hoursAndFormats);
        EXPECT_EQ(m.cbUserObjectON.enabled, row.hoursAndFormats);
        EXPECT_EQ(m.cbUserSystemON.enabled, row.hoursAndFormats);
        EXPECT_EQ(m.cbUserTestMessON.enabled, row.testCheckBox);
        EXPECT_EQ(m.cbUserTestMessON.checked, row.testCheckBox);
        EXPECT_FALSE(m.EditUserTtestmessM.enabled);
        EXPECT_FALSE(m.CheckBoxMessFireON.enabled);
    }
}

TEST_F(UserRulesTest, BackFromCallsTheTestMessageIsEnabledButStaysCleared) {
    showUser(1, kRoleMaster, 0x11);  // test message on
    selectItemText(m.cbUserTypeMess, "Дозвон до пользователя");
    change(app, "cbUserTypeMess");
    selectItemText(m.cbUserTypeMess, "SMS сообщение");
    change(app, "cbUserTypeMess");
    EXPECT_TRUE(m.cbUserTestMessON.enabled);
    EXPECT_FALSE(m.cbUserTestMessON.checked);
}

struct MasterRow {
    const char* name;
    std::array<int, 6> stored;  // users 1 to 6
    int shown;
    const char* picked;
    bool refused;
};

TEST_F(UserRulesTest, OneMasterMustRemain) {
    constexpr int M = kRoleMaster, O = kRoleOwner, G = kRoleGuard;
    const MasterRow rows[] = {
        {"last master leaves", {M, O, G, O, G, O}, 1, "Хозяин", true},
        {"last master, found going round", {O, G, O, G, G, M}, 6, "Охранник", true},
        {"another master stored", {M, O, G, M, O, G}, 1, "Охранник", false},
        {"another master before the shown user", {M, O, G, G, M, G}, 5, "Хозяин", false},
        {"stored status is not master", {O, G, G, G, G, G}, 1, "Охранник", false},
        {"master picked again", {M, O, O, O, O, O}, 1, "Мастер", false},
    };
    for (const MasterRow& row : rows) {
        SCOPED_TRACE(row.name);
        dialogs.messages.clear();
        showUser(row.shown, row.stored[row.shown - 1], 0x01);
        setStored(row.stored);
        selectItemText(m.cbUserStatus, row.picked);
        change(app, "cbUserStatus");
        if (row.refused) {
            ASSERT_EQ(dialogs.messages.size(), 1u);
            EXPECT_EQ(dialogs.messages[0].text, "В системе должен остаться хотябы один мастер");
            EXPECT_EQ(dialogs.messages[0].caption, "Модем");
            EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::Warning);
            EXPECT_EQ(m.cbUserStatus.text, "Мастер");
        } else {
            EXPECT_TRUE(dialogs.messages.empty());
            EXPECT_EQ(m.cbUserStatus.text, row.picked);
        }
    }
}

TEST_F(UserRulesTest, OnlyStoredStatusesCount) {
    // User 3 shows "Мастер" in the list but was never written as one.
    showUser(3, kRoleGuard, 0x01);
    selectItemText(m.cbUserStatus, "Мастер");
    change(app, "cbUserStatus");
    showUser(1, kRoleMaster, 0x01);
    setStored({kRoleMaster, kRoleGuard, kRoleGuard, kRoleGuard, kRoleGuard, kRoleGuard});
    selectItemText(m.cbUserStatus, "Хозяин");
    change(app, "cbUserStatus");
    EXPECT_EQ(messageTexts(),
              std::vector<std::string>{"В системе должен остаться хотябы один мастер"});
}

TEST_F(UserRulesTest, MinutesCorrectedOnLeaving) {
    // Pasted text that is not a number becomes "0", as an empty field does.
    const std::pair<const char*, const char*> rows[] = {
        {"", "0"},    {"75", "60"}, {"61", "60"},   {"60", "60"},
        {"00", "00"}, {"7", "7"},   {"0075", "60"}, {"99999999999999999999", "60"},
        {"1a", "0"},  {"-5", "0"},
    };
    for (const auto& [typed, left] : rows) {
        m.EditUserTtestmessM.text = typed;
        leave(app, "EditUserTtestmessM");
        EXPECT_EQ(m.EditUserTtestmessM.text, left) << '"' << typed << '"';
    }
    EXPECT_TRUE(dialogs.messages.empty());
}

// ---- SIM page and the operator dialog ----

TEST_F(PageRulesTest, AutoDetectLeavesOnlyTheThresholdToTheBalanceCheckBox) {
    ASSERT_TRUE(m.AutoSetPar1.checked);
    EXPECT_FALSE(m.BitBtnSIM1HelpUSSD.enabled);
    m.CheckBoxSim1Ballance.checked = true;
    click(app, "CheckBoxSim1Ballance");
    EXPECT_TRUE(m.EditSim1Ballance.enabled);
    EXPECT_FALSE(m.EditSIM1USSD.enabled);
    EXPECT_FALSE(m.BitBtnSIM1HelpUSSD.enabled);
}

TEST_F(PageRulesTest, AutoDetectOffEnablesTheUssdFieldWithoutBalanceCheck) {
    ASSERT_FALSE(m.CheckBoxSim2Ballance.checked);
    m.AutoSetPar2.checked = false;
    click(app, "AutoSetPar2");
    for (const Control* c : std::initializer_list<const Control*>{
             &m.EditSIM2USSD, &m.BitBtnSIM2HelpUSSD, &m.EditSim2APN, &m.EditSim2NAME,
             &m.EditSim2PASS, &m.LabelSim2USSD, &m.LabelSim2APNHead, &m.LabelSim2APN,
             &m.LabelSim2NAME, &m.LabelSim2PASS})
        EXPECT_TRUE(c->enabled);
    EXPECT_FALSE(m.EditSim1APN.enabled);  // SIM 1 is left alone
}

TEST_F(PageRulesTest, PinCheckBoxEnablesPinAndPuk) {
    m.CheckBoxSim2Pass.checked = true;
    click(app, "CheckBoxSim2Pass");
    EXPECT_TRUE(m.EditSim2Pin1.enabled);
    EXPECT_TRUE(m.EditSim2Puk1.enabled);
    m.CheckBoxSim2Pass.checked = false;
    click(app, "CheckBoxSim2Pass");
    EXPECT_FALSE(m.EditSim2Pin1.enabled);
    EXPECT_FALSE(m.EditSim2Puk1.enabled);
}

class OperatorDialogTest : public PageRulesTest {
  protected:
    void SetUp() override {
        PageRulesTest::SetUp();
        m.EditSIM1USSD.text = "111";
        m.EditSim1APN.text = "sim1.apn";
        m.EditSim1NAME.text = "one";
        m.EditSim1PASS.text = "uno";
        m.EditSIM2USSD.text = "222";
        m.EditSim2APN.text = "sim2.apn";
        m.EditSim2NAME.text = "two";
        m.EditSim2PASS.text = "dos";
    }
    void pick(RadioButton TFormUSSD::*radio) {
        for (RadioButton* r : {&app.ussd.RadioMts, &app.ussd.RadioMegafon, &app.ussd.RadioUtel,
                               &app.ussd.RadioBeeLine, &app.ussd.RadioTele2})
            r->checked = false;
        (app.ussd.*radio).checked = true;
    }
    std::vector<std::string> sim(int k) {
        const SimControls c = simControls(m, k);
        return {c.ussd.text, c.apn.text, c.name.text, c.pass.text};
    }
};

TEST_F(OperatorDialogTest, OkFillsTheSimItWasOpenedFromWithThePickedPreset) {
    const std::pair<RadioButton TFormUSSD::*, std::vector<std::string>> rows[] = {
        {&TFormUSSD::RadioMts, {"100", "internet.mts.ru", "mts", "mts"}},
        {&TFormUSSD::RadioMegafon, {"100", "internet", "gdata", "gdata"}},
        {&TFormUSSD::RadioUtel, {"102", "internet.usi.ru", "", ""}},
        {&TFormUSSD::RadioBeeLine, {"102", "internet.beeline.ru", "beeline", "beeline"}},
        {&TFormUSSD::RadioTele2, {"105", "internet.tele2.ru", "", ""}},
    };
    const std::vector<std::string> sim1 = sim(1);
    for (const auto& [radio, expected] : rows) {
        SCOPED_TRACE(expected[1]);
        dialogs.shownWindows.clear();
        dialogs.closedWindows.clear();
        // SIM 2's fields are disabled by automatic detection: they are filled all the same.
        ASSERT_FALSE(m.EditSIM2USSD.enabled);
        m.BitBtnSIM2HelpUSSD.enabled = true;
        click(app, "BitBtnSIM2HelpUSSD");
        EXPECT_EQ(dialogs.shownWindows, std::vector<WindowId>{WindowId::Ussd});
        EXPECT_EQ(app.ussd.sim, 2);
        pick(radio);
        click(app, "ButtonUSSDOperator", FormId::Ussd);
        EXPECT_EQ(sim(2), expected);
        EXPECT_EQ(sim(1), sim1);
        EXPECT_EQ(dialogs.closedWindows, std::vector<WindowId>{WindowId::Ussd});
    }
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(OperatorDialogTest, CancelChangesNothingAndTheSelectionIsKept) {
    click(app, "BitBtnSIM1HelpUSSD");
    pick(&TFormUSSD::RadioTele2);
    click(app, "BitBtnUSSDClose", FormId::Ussd);
    EXPECT_EQ(sim(1), (std::vector<std::string>{"111", "sim1.apn", "one", "uno"}));
    EXPECT_EQ(sim(2), (std::vector<std::string>{"222", "sim2.apn", "two", "dos"}));
    EXPECT_EQ(dialogs.closedWindows, std::vector<WindowId>{WindowId::Ussd});

    click(app, "BitBtnSIM1HelpUSSD");
    EXPECT_TRUE(app.ussd.RadioTele2.checked);
    EXPECT_EQ(app.ussd.sim, 1);
}

// ---- GPRS page ----

class GprsRulesTest : public PageRulesTest {
  protected:
    void SetUp() override {
        PageRulesTest::SetUp();
        m.CheckModemFlagGPRS.checked = true;
        click(app, "CheckModemFlagGPRS");
    }
    // The user's click on a radio button: the model shows it checked, its partner cleared.
    void choose(RadioButton& button, RadioButton& partner, std::string_view name) {
        button.checked = true;
        partner.checked = false;
        click(app, name);
    }
    bool dnsServersEnabled() const {
        const bool e = m.EditGPRSDNS1.enabled;
        EXPECT_EQ(m.EditGPRSDNS2.enabled, e);
        EXPECT_EQ(m.LabelGPRSDNS1.enabled, e);
        EXPECT_EQ(m.LabelGPRSDNS2.enabled, e);
        return e;
    }
};

TEST_F(GprsRulesTest, NameAndAddressRadiosOfTheMainServer) {
    choose(m.RBtnDNS1, m.RBtnIP1, "RBtnDNS1");
    EXPECT_FALSE(m.EditGPRSIP1.enabled);
    EXPECT_TRUE(m.EditGPRSWWW1.enabled);
    EXPECT_TRUE(dnsServersEnabled());

    choose(m.RBtnIP1, m.RBtnDNS1, "RBtnIP1");
    EXPECT_TRUE(m.EditGPRSIP1.enabled);
    EXPECT_FALSE(m.EditGPRSWWW1.enabled);
    EXPECT_FALSE(dnsServersEnabled());  // the reserve server is on "IP-адрес:" too
}

TEST_F(GprsRulesTest, ReserveByNameKeepsDnsServersUntilItsAddressIsChosen) {
    m.CheckBoxGPRSRez2.checked = true;
    click(app, "CheckBoxGPRSRez2");
    choose(m.RBtnDNS2, m.RBtnIP2, "RBtnDNS2");
    EXPECT_TRUE(dnsServersEnabled());
    EXPECT_TRUE(m.EditGPRSWWW2.enabled);
    EXPECT_FALSE(m.EditGPRSIP2.enabled);

    // Main server on "IP-адрес:" clicked again: the reserve one is named, so they stay.
    choose(m.RBtnIP1, m.RBtnDNS1, "RBtnIP1");
    EXPECT_TRUE(dnsServersEnabled());

    choose(m.RBtnIP2, m.RBtnDNS2, "RBtnIP2");
    EXPECT_FALSE(dnsServersEnabled());
    EXPECT_TRUE(m.EditGPRSIP2.enabled);
    EXPECT_FALSE(m.EditGPRSWWW2.enabled);
}

TEST_F(GprsRulesTest, GprsOffAndOnKeepsTheMainServerOnItsName) {
    choose(m.RBtnDNS1, m.RBtnIP1, "RBtnDNS1");
    m.CheckModemFlagGPRS.checked = false;
    click(app, "CheckModemFlagGPRS");
    EXPECT_FALSE(m.GBoxGPRS.enabled);
    EXPECT_FALSE(m.EditGPRSWWW1.enabled);
    m.CheckModemFlagGPRS.checked = true;
    click(app, "CheckModemFlagGPRS");
    EXPECT_TRUE(m.EditGPRSWWW1.enabled);
    EXPECT_FALSE(m.EditGPRSIP1.enabled);
    EXPECT_TRUE(dnsServersEnabled());
}

struct DnsExitRow {
    const char* name;
    bool mainByName;
    bool reserveByName;
    bool reserveUsed;
    const char* dns1;
    const char* dns2;
    const char* focus;  // empty: no message
};

TEST_F(GprsRulesTest, LeavingTheGroupAsksForDnsServersWhenAServerIsNamed) {
    const DnsExitRow rows[] = {
        {"main named, DNS 2 empty", true, false, false, "8.8.8.8", "", "EditGPRSDNS2"},
        {"main named, DNS 1 empty", true, false, false, "", "", "EditGPRSDNS1"},
        {"unused reserve named", false, true, false, "", "1.1.1.1", "EditGPRSDNS1"},
        {"both given", true, true, true, "8.8.8.8", "1.1.1.1", ""},
        {"no server named", false, false, true, "", "", ""},
    };
    for (const DnsExitRow& row : rows) {
        SCOPED_TRACE(row.name);
        dialogs.messages.clear();
        m.focusRequest.clear();
        m.RBtnDNS1.checked = row.mainByName;
        m.RBtnIP1.checked = !row.mainByName;
        m.RBtnDNS2.checked = row.reserveByName;
        m.RBtnIP2.checked = !row.reserveByName;
        m.CheckBoxGPRSRez2.checked = row.reserveUsed;
        m.EditGPRSDNS1.text = row.dns1;
        m.EditGPRSDNS2.text = row.dns2;
        leave(app, "GBoxGPRS");
        EXPECT_EQ(m.focusRequest, row.focus);
        if (std::string_view(row.focus).empty()) {
            EXPECT_TRUE(dialogs.messages.empty());
            continue;
        }
        ASSERT_EQ(dialogs.messages.size(), 1u);
        EXPECT_EQ(dialogs.messages[0].text, "Введите IP-адреса DNS-серверов");
        EXPECT_EQ(dialogs.messages[0].caption, "Модем");
        EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::None);
        EXPECT_EQ(dialogs.messages[0].buttons, MessageButtons::Ok);
    }
}

// ---- Voice call page ----

TEST_F(PageRulesTest, CallCheckBoxesEnableTheirNumbersAndLabels) {
    const std::vector<Control*> outgoing = {&m.LabelECallNumbers, &m.LabelECallN1, &m.LabelECallN2,
                                            &m.LabelECallN3,      &m.LabelECallN4, &m.LabelECallN5,
                                            &m.EditECallN1,       &m.EditECallN2,  &m.EditECallN3,
                                            &m.EditECallN4,       &m.EditECallN5};
    const std::vector<Control*> incoming = {&m.LabelInCall,   &m.LabelInCallN1, &m.LabelInCallN2,
                                            &m.LabelInCallN3, &m.EditInCallN1,  &m.EditInCallN2,
                                            &m.EditInCallN3};
    m.EditECallN3.text = "112";
    for (const bool on : {false, true}) {
        m.CheckBoxECallEn.checked = on;
        click(app, "CheckBoxECallEn");
        for (const Control* c : outgoing)
            EXPECT_EQ(c->enabled, on);
        m.CheckBoxInCall.checked = on;
        click(app, "CheckBoxInCall");
        for (const Control* c : incoming)
            EXPECT_EQ(c->enabled, on);
    }
    EXPECT_EQ(m.EditECallN3.text, "112");  // disabled numbers keep their texts
}

struct AudioRow {
    const char* field;
    const char* text;
    const char* message;  // empty: accepted silently
};

TEST_F(PageRulesTest, AudioLevelsCheckedOnLeaving) {
    constexpr const char* kSpkRange = "Громкость динамика должна быть от 1 до 100";
    constexpr const char* kMicRange = "Чувствительность микрофона должна быть от 1 до 15";
    // Pasted text that is not a number is out of range.
    const AudioRow rows[] = {
        {"EditECallSpk", "", "Введите значение громкости динамика"},
        {"EditECallSpk", "0", kSpkRange},
        {"EditECallSpk", "101", kSpkRange},
        {"EditECallSpk", "1", ""},
        {"EditECallSpk", "100", ""},
        {"EditECallSpk", "x5", kSpkRange},
        {"EditECallMic", "", "Введите чувствительность микрофона"},
        {"EditECallMic", "16", kMicRange},
        {"EditECallMic", "0", kMicRange},
        {"EditECallMic", "15", ""},
        {"EditECallMic", "01", ""},
        {"EditECallMic", "1 ", kMicRange},
    };
    for (const AudioRow& row : rows) {
        SCOPED_TRACE(std::string(row.field) + " \"" + row.text + '"');
        dialogs.messages.clear();
        m.focusRequest.clear();
        Edit& edit =
            std::string_view(row.field) == "EditECallSpk" ? m.EditECallSpk : m.EditECallMic;
        edit.text = row.text;
        leave(app, row.field);
        EXPECT_EQ(edit.text, row.text);
        if (std::string_view(row.message).empty()) {
            EXPECT_TRUE(dialogs.messages.empty());
            EXPECT_EQ(m.focusRequest, "");
            continue;
        }
        ASSERT_EQ(dialogs.messages.size(), 1u);
        EXPECT_EQ(dialogs.messages[0].text, row.message);
        EXPECT_EQ(dialogs.messages[0].caption, "Модем");
        EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::Warning);
        EXPECT_EQ(m.focusRequest, row.field);
    }
}

// ---- Key filters ----

struct KeyFilterRow {
    const char* name;
    Edit TformMain::*field;
    std::string_view accepted;  // empty: no filter
};

TEST_F(PageRulesTest, KeyFiltersOfThePages) {
    constexpr std::string_view kPhone = "0123456789+";
    constexpr std::string_view kNumber = "0123456789";
    constexpr std::string_view kAddress = "0123456789.";
    const KeyFilterRow rows[] = {
        {"EditUserTel", &TformMain::EditUserTel, kPhone},
        {"EditUserTtestmessH", &TformMain::EditUserTtestmessH, kNumber},
        {"EditUserTtestmessM", &TformMain::EditUserTtestmessM, kNumber},
        {"EditUserPassword", &TformMain::EditUserPassword, ""},
        {"EditSeekObject", &TformMain::EditSeekObject, ""},
        {"EditSim1Pin1", &TformMain::EditSim1Pin1, kNumber},
        {"EditSim2Pin1", &TformMain::EditSim2Pin1, kNumber},
        {"EditSim1Ballance", &TformMain::EditSim1Ballance, kNumber},
        {"EditSim2Ballance", &TformMain::EditSim2Ballance, kNumber},
        {"EditSIM1USSD", &TformMain::EditSIM1USSD, ""},
        {"EditSim2APN", &TformMain::EditSim2APN, ""},
        {"EditGPRSIP1", &TformMain::EditGPRSIP1, kAddress},
        {"EditGPRSIP2", &TformMain::EditGPRSIP2, kAddress},
        {"EditGPRSDNS1", &TformMain::EditGPRSDNS1, kAddress},
        {"EditGPRSDNS2", &TformMain::EditGPRSDNS2, kAddress},
        {"EditGPRSPort1", &TformMain::EditGPRSPort1, kNumber},
        {"EditGPRSPort2", &TformMain::EditGPRSPort2, kNumber},
        {"EditGPRSWWW1", &TformMain::EditGPRSWWW1, ""},
        {"EditGPRSLogin", &TformMain::EditGPRSLogin, ""},
        {"EditMainSys", &TformMain::EditMainSys, kNumber},
        {"EditMainObj", &TformMain::EditMainObj, kNumber},
        {"EditSerialN", &TformMain::EditSerialN, kNumber},
        {"EditECallN1", &TformMain::EditECallN1, kPhone},
        {"EditECallN2", &TformMain::EditECallN2, kPhone},
        {"EditECallN3", &TformMain::EditECallN3, ""},
        {"EditECallN4", &TformMain::EditECallN4, kPhone},
        {"EditECallN5", &TformMain::EditECallN5, kPhone},
        {"EditInCallN1", &TformMain::EditInCallN1, kPhone},
        {"EditInCallN2", &TformMain::EditInCallN2, kPhone},
        {"EditInCallN3", &TformMain::EditInCallN3, kPhone},
        {"EditECallSpk", &TformMain::EditECallSpk, kNumber},
        {"EditECallMic", &TformMain::EditECallMic, kNumber},
    };
    constexpr std::string_view kProbes = "059+.a-Z ";
    for (const KeyFilterRow& row : rows) {
        const Edit& edit = m.*row.field;
        for (const char key : kProbes) {
            const bool expected =
                row.accepted.empty() || row.accepted.find(key) != std::string_view::npos;
            EXPECT_EQ(acceptsKey(edit, static_cast<char32_t>(key)), expected)
                << row.name << " '" << key << "'";
        }
        EXPECT_TRUE(acceptsKey(edit, U'\b')) << row.name;
    }
}

TEST_F(PageRulesTest, TypingThroughTheFilters) {
    m.EditGPRSIP1.text.clear();
    typeText(m.EditGPRSIP1, "1a.2");
    EXPECT_EQ(m.EditGPRSIP1.text, "1.2");
    m.EditGPRSPort1.text.clear();
    typeText(m.EditGPRSPort1, "80.80");
    EXPECT_EQ(m.EditGPRSPort1.text, "8080");
    typeText(m.EditUserTel, "+7x9");
    EXPECT_EQ(m.EditUserTel.text, "+79");
    typeText(m.EditSerialN, "12ab");
    EXPECT_EQ(m.EditSerialN.text, "12");
}

// ---- "Сброс" of the main system and object ----

class ResetSysObjTest : public test::SimFixture {
  protected:
    void SetUp() override {
        modem.setLog([this](const std::string& line) {
            if (line.rfind("> ", 0) == 0)
                commands.push_back(line.substr(2));
        });
        app.main.EditMainSys.text = "12";
        app.main.EditMainObj.text = "345";
        app.image.mainSystem = 12;
    }
    void press() { click(app, "BtnResetSysObj"); }

    std::vector<std::string> commands;
};

TEST_F(ResetSysObjTest, AnsweredNoSendsNothing) {
    dialogs.answers.push_back(MessageResult::No);
    press();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "Сбросить настройки адреса?");
    EXPECT_EQ(dialogs.messages[0].caption, "Модем");
    EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::Question);
    EXPECT_EQ(dialogs.messages[0].buttons, MessageButtons::YesNo);
    EXPECT_TRUE(commands.empty());
    EXPECT_EQ(modem.commandsSeen(), 0);
}

TEST_F(ResetSysObjTest, ModemAnswersOk) {
    dialogs.answers.push_back(MessageResult::Yes);
    std::vector<int> positions;
    std::function<void()> sample = [&] {
        positions.push_back(app.main.BSprogressBarLine1.position);
        if (positions.size() < 400)
            clock.startTimer(5, sample);
    };
    clock.startTimer(0, sample);
    press();

    EXPECT_EQ(commands, std::vector<std::string>{"AT+V4000040006"});
    EXPECT_EQ(dialogs.messages.size(), 1u);  // the question only
    EXPECT_EQ(app.main.StatusBar1.text, "Основные система и объект успешно сброшены");
    EXPECT_EQ(app.main.BSprogressBarLine1.max, 100);
    EXPECT_EQ(app.main.BSprogressBarLine1.position, 0);
    EXPECT_NE(std::find(positions.begin(), positions.end(), 50), positions.end());
    EXPECT_NE(std::find(positions.begin(), positions.end(), 100), positions.end());
    EXPECT_TRUE(app.main.BtnResetSysObj.enabled);
    EXPECT_FALSE(port.isOpen());
    // The modem took the reset; the page and the image keep the old values.
    EXPECT_EQ(memory(0x021C), 0);
    EXPECT_EQ(memory(0x021D) | memory(0x021E) << 8, 3999);
    EXPECT_EQ(memory(0x021F), 6);
    EXPECT_EQ(app.main.EditMainSys.text, "12");
    EXPECT_EQ(app.main.EditMainObj.text, "345");
    EXPECT_EQ(app.image.mainSystem, 12);
}

TEST_F(ResetSysObjTest, NoAnswerIsAWriteError) {
    modem.options().faults.rules.push_back({sim::ReplyFault::Silent, 40, 0});
    press();  // the default answer to the question is Yes
    EXPECT_EQ(commands, std::vector<std::string>{"AT+V4000040006"});
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[1].text, "Ошибка записи в модем");
    EXPECT_EQ(dialogs.messages[1].caption, "Модем");
    EXPECT_EQ(dialogs.messages[1].icon, MessageIcon::Error);
    EXPECT_EQ(app.main.StatusBar1.text, "Ошибка записи в модем");
    EXPECT_EQ(app.main.BSprogressBarLine1.position, 0);
    EXPECT_TRUE(app.main.BtnResetSysObj.enabled);
}

TEST_F(ResetSysObjTest, PortThatCannotBeOpened) {
    cable.setPresent(false);
    press();
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[1].text, "Не мгу открыть порт");
    EXPECT_EQ(dialogs.messages[1].caption, "Модем");
    EXPECT_EQ(dialogs.messages[1].icon, MessageIcon::Error);
    EXPECT_TRUE(commands.empty());
    EXPECT_TRUE(app.main.BtnResetSysObj.enabled);
}

// The exact bytes on the line, carriage return included.
TEST_F(PageRulesTest, ResetSendsOneLineWithItsCarriageReturn) {
    m.ComboBox1.items = {"COM1"};
    selectItem(m.ComboBox1, 0);
    port.arrive(500, "\r\nOK\r\n");
    click(app, "BtnResetSysObj");
    EXPECT_EQ(port.sent, std::vector<std::string>{"AT+V4000040006\r"});
    EXPECT_EQ(m.StatusBar1.text, "Основные система и объект успешно сброшены");
}

}  // namespace
}  // namespace zelar
