#include "app/pages/write_settings.h"

#include "app/control_events.h"
#include "app/pages/show_settings.h"
#include "app/service/settings_file_page.h"
#include "app/shell/login.h"
#include "app/shell/navigation.h"
#include "app/shell/read_settings.h"
#include "app/shell/startup.h"
#include "app_fixture.h"
#include "files/settings_file.h"
#include "forms/control_registry.h"
#include "sim_fixture.h"

namespace zelar {
namespace {

class WriteTest : public test::SimFixture {
  protected:
    WriteTest() {
        modem.setLog([this](const std::string& line) {
            if (line.rfind("> ", 0) == 0)
                commands.push_back(line.substr(2));
        });
    }

    void readAndLogin(int user = 1, const std::string& password = "1234") {
        btnReadNastUserClick(app);
        ASSERT_TRUE(app.settingsRead);
        login(user, password);
    }
    // A login alone: the pages on view stay as they are.
    void login(int user, const std::string& password) {
        selectItem(app.main.cbUser, user - 1);
        app.main.EditPassword.text = password;
        ButtonApplyPasswordClick(app);
        ASSERT_TRUE(app.login.loggedIn);
        dialogs.messages.clear();
        commands.clear();
    }
    // Selects a node the way a click on the tree does, then optionally a tab.
    void show(int node, std::optional<Page> tab = std::nullopt) {
        app.main.TreeView1.selected = node;
        TreeView1Changing(app, node);
        if (tab)
            app.main.activePage = *tab;
    }
    void write() {
        commands.clear();
        dialogs.messages.clear();
        findControlEvents(FormId::Main, "ButtonWriteNastr")->click(app);
        EXPECT_TRUE(app.main.ButtonWriteNastr.enabled);
        EXPECT_FALSE(app.link.isOpen());
        EXPECT_EQ(app.main.BSprogressBarLine1.position, 0);
    }
    std::vector<std::string> texts() const {
        std::vector<std::string> out;
        for (const auto& m : dialogs.messages)
            out.push_back(m.text);
        return out;
    }
    // The V16 commands to an address, as sent without the closing CR.
    std::vector<std::string> writesTo(const std::string& address) const {
        std::vector<std::string> out;
        for (const auto& c : commands) {
            if (c.rfind("AT+V16" + address, 0) == 0)
                out.push_back(c);
        }
        return out;
    }

    std::vector<std::string> commands;
};

using Strings = std::vector<std::string>;

TEST_F(WriteTest, RefusalsSendNothingAndEnableTheButtonAgain) {
    write();
    EXPECT_EQ(texts(), Strings{"Введите пароль"});
    readAndLogin();
    for (int node : {kNodeUsers, kNodeDiagnostics}) {
        show(node);
        write();
        EXPECT_EQ(texts(), Strings{"Нет настроек для записи"});
        EXPECT_EQ(dialogs.messages.back().icon, MessageIcon::Error);
        EXPECT_TRUE(commands.empty());
    }
}

// A new login leaves the previous role's page on view; the write follows the new role.
TEST_F(WriteTest, RightsComeFromTheLoginNotFromThePageOnView) {
    struct Case {
        int node;
        std::optional<Page> tab;
        int user;
        const char* password;
        bool written;
    };
    const Case cases[] = {
        {kNodeModem, Page::TabSheet2, 2, "5678", false},
        {kNodeModem, Page::TabSheet5, 3, "0000", false},
        {kNodeModem, Page::TabSheetTests, 2, "5678", false},
        {kNodeVoiceCall, std::nullopt, 3, "0000", false},
        {kNodeVoiceCall, std::nullopt, 2, "5678", true},
    };
    readAndLogin();
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.node << " user " << c.user);
        login(1, "1234");
        show(c.node, c.tab);
        login(c.user, c.password);
        write();
        if (c.written) {
            EXPECT_EQ(commands.size(), 2U);
        } else {
            EXPECT_EQ(texts(), Strings{"Нет настроек для записи"});
            EXPECT_TRUE(commands.empty());
        }
    }
}

TEST_F(WriteTest, UserThreeDialledGivesTheExactRecord) {
    readAndLogin();
    show(3);
    TformMain& m = app.main;
    m.cbUserON.checked = true;
    m.RBtnSMSalways.checked = true;
    m.RBtnSMSifNoGPRS.checked = false;
    selectItem(m.cbUserTypeMess, 2);
    selectItem(m.cbUserStatus, 2);
    selectItem(m.cbUserObjectON, 0);
    selectItem(m.cbUserSystemON, 0);
    m.EditUserTel.text = "+79161112233";
    m.EditUserPassword.text = "0000";
    for (CheckBox* c : {&m.CheckBoxMessAlarmON, &m.CheckBoxMessFireON, &m.CheckBoxMessErrON,
                        &m.CheckBoxMessPowerON, &m.CheckBoxMessGuardON, &m.CheckBoxMessInfOn,
                        &m.cbUserPriority, &m.cbUserDialON, &m.cbUserTestMessON})
        c->checked = false;
    m.EditUserTtestmessH.text = "10";
    m.EditSeekObject.text = "0";
    write();
    EXPECT_EQ(commands, Strings{"AT+V1600380018"
                                "2B3739313631313132323333"
                                "0203"
                                "30303030"
                                "01"
                                "0000"
                                "0A"
                                "0000"});
    EXPECT_EQ(texts(), Strings{"Настройки записаны"});
    EXPECT_EQ(dialogs.messages.back().icon, MessageIcon::None);
    EXPECT_EQ(memory(0x0038 + 13), 3);
}

TEST_F(WriteTest, RightsOfOwnerAndGuard) {
    struct Case {
        int login;
        const char* password;
        int node;
        int newStatus;
        const char* message;
    };
    const Case cases[] = {
        {2, "5678", 2, 1, "Статус Хозяин не имеет прав для редактирования Хозяина"},
        {2, "5678", 3, 0, "Статус Хозяин не имеет прав для редактирования Мастера"},
        {2, "5678", 3, 1, "Статус Хозяин не имеет прав для редактирования Хозяина"},
        {3, "0000", 3, 2, "Статус Охранник не имеет прав для редактирования"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        readAndLogin(c.login, c.password);
        show(c.node);
        ASSERT_EQ(app.main.activePage, Page::TabSheet1);
        selectItem(app.main.cbUserStatus, c.newStatus);
        write();
        EXPECT_EQ(texts(), Strings{c.message});
        EXPECT_TRUE(commands.empty());
    }
    // An owner keeps a guard a guard: that write goes through.
    readAndLogin(2, "5678");
    show(3);
    write();
    EXPECT_EQ(texts(), Strings{"Настройки записаны"});
    EXPECT_EQ(commands.size(), 1U);
}

TEST_F(WriteTest, UserChecksStopBeforeThePortOpensAndTakeNothingIntoTheImage) {
    readAndLogin();
    show(4);
    app.main.EditUserTel.text = "+7900";
    app.main.EditUserPassword.text = "12 4";
    write();
    EXPECT_EQ(texts(), (Strings{"Пароль должен быть 4 цифры", "Нет связи с модемом"}));
    EXPECT_TRUE(commands.empty());
    EXPECT_NE(app.image.users[3].phone, "+7900");  // a failed write takes nothing into the image
    // A test period of 0 hours is written, as its message promises.
    app.main.EditUserPassword.text = "4321";
    app.main.EditUserTtestmessH.text = "0";
    write();
    EXPECT_EQ(texts(), Strings{"Настройки записаны"});
}

TEST_F(WriteTest, SimOneUnderAutoDetectionSendsTenCommandsAndMovesTheBarFourteenSteps) {
    readAndLogin();
    show(kNodeModem, Page::TabSheet2);
    app.main.AutoSetPar1.checked = true;
    app.main.AutoSetPar2.checked = false;
    app.main.EditSIM1USSD.text = "100";
    app.main.EditSIM2USSD.text = "102";
    app.main.EditSim1Pin1.text = "1111";
    app.main.EditSim2Pin1.text = "2222";
    const std::string apn = app.image.sims[0].apnName;
    app.main.EditSim1APN.text = "not.written";
    write();
    EXPECT_EQ(app.image.sims[0].apnName, apn);  // left to the modem, not written
    EXPECT_EQ(app.image.sims[0].pin, "1111");
    ASSERT_EQ(commands.size(), 10U);
    const Strings addresses = {"00050002", "00980019", "00B40001", "00B80019", "00D40001",
                               "00D10003", "01400018", "01580018", "01700018", "02180001"};
    for (std::size_t i = 0; i < addresses.size(); ++i)
        EXPECT_EQ(commands[i].substr(6, 8), addresses[i]) << i;
    EXPECT_EQ(commands.back(), "AT+V160218000101");
    EXPECT_EQ(app.main.BSprogressBarLine1.stepsTaken, 14);
    EXPECT_EQ(app.main.EditSim1Puk1.text, "62840517");
}

TEST_F(WriteTest, SimChecksAndAnUnansweredFirstCommand) {
    readAndLogin();
    show(kNodeModem, Page::TabSheet2);
    app.main.EditSim1Pin1.text = "12";
    write();
    EXPECT_EQ(texts(),
              (Strings{"SIM1: PIN код должен состоять из 4х цифр", "Нет связи с модемом"}));
    EXPECT_EQ(dialogs.messages.front().caption, "Ошибка");
    EXPECT_TRUE(commands.empty());

    app.main.EditSim1Pin1.text = "1234";
    modem.options().faults.rules.push_back({sim::ReplyFault::Silent, 16, 0});
    write();
    EXPECT_EQ(commands.size(), 1U);
    EXPECT_EQ(texts(), Strings{"Нет связи с модемом"});
}

// A write the port refuses ends the operation at once with the port's own text, not with a
// lost link after the wait.
TEST_F(WriteTest, AFailedWriteShowsThePortsTextAtOnce) {
    readAndLogin();
    show(kNodeVoiceCall);
    modem.options().faults.writeErrorAfter = cable.hostWrites() + 1;
    const auto start = clock.tickMs();
    write();
    EXPECT_EQ(commands.size(), 1U);
    ASSERT_EQ(texts().size(), 1U);
    EXPECT_EQ(texts()[0].rfind("Write data error [requested: ", 0), 0U) << texts()[0];
    EXPECT_EQ(dialogs.messages[0].caption, "Ошибка");
    EXPECT_LT(clock.tickMs() - start, 1000);
}

TEST_F(WriteTest, GprsLinkTestPeriodBytesAndTheUnknownPeriod) {
    readAndLogin();
    show(kNodeModem, Page::TabSheet5);
    const std::pair<int, const char*> periods[] = {{8, "0000"}, {7, "3840"}};
    for (const auto& [item, bytes] : periods) {
        selectItem(app.main.ComBoxTestGPRS, item);
        write();
        EXPECT_EQ(texts(), Strings{"Настройки записаны"});
        EXPECT_EQ(commands.size(), 6U);
        EXPECT_EQ(writesTo("0219"), Strings{std::string("AT+V1602190002") + bytes});
    }
    showText(app.main.ComBoxTestGPRS, "???");
    write();
    EXPECT_EQ(texts(), Strings{"Выберете корректное значение периода тестов GPRS-канала"});
    EXPECT_EQ(dialogs.messages.back().caption, "Запись настроек");
    EXPECT_TRUE(commands.empty());
}

// The GPRS switch is in the modem flags: a section that cannot write them fails, sending
// nothing after the failing step.
TEST_F(WriteTest, GprsFailsWhenTheModemFlagsAreNotWritten) {
    readAndLogin();
    show(kNodeModem, Page::TabSheet5);
    app.main.EditSim1Pin1.text = "12";
    write();
    EXPECT_EQ(texts(),
              (Strings{"SIM1: PIN код должен состоять из 4х цифр", "Нет связи с модемом"}));
    EXPECT_TRUE(commands.empty());

    app.main.EditSim1Pin1.text = "1234";
    modem.options().faults.rules.push_back({sim::ReplyFault::Silent, 16, 1});
    write();
    ASSERT_EQ(commands.size(), 1U);
    EXPECT_EQ(commands[0].substr(0, 14), "AT+V1600050002");
    EXPECT_EQ(texts(), Strings{"Нет связи с модемом"});
    EXPECT_EQ(dialogs.messages.back().icon, MessageIcon::Error);
}

TEST_F(WriteTest, ObjectParameters) {
    readAndLogin();
    show(kNodeModem, Page::TabSheetTests);
    TformMain& m = app.main;
    selectItem(m.ComBoxProt, 2);
    m.EditMainObj.text = "2048";
    m.EditMainSys.text = "7";
    m.EditSerialN.text = "12345678";
    write();
    EXPECT_EQ(commands, (Strings{"AT+V4000720487", "AT+V16022100043456780C"}));
    EXPECT_EQ(m.StatusBar1.text, "Настройки записаны");
    EXPECT_TRUE(dialogs.messages.empty());

    selectItem(m.ComBoxProt, 1);
    m.EditMainObj.text = "12";
    m.EditMainSys.text = "5";
    write();
    EXPECT_EQ(commands.front(), "AT+V4000500126");
    EXPECT_EQ(app.image.mainObjectMinus1, 11);

    selectItem(m.ComBoxProt, 0);
    m.EditMainObj.text = "300";
    m.EditMainSys.text = "300";
    write();
    EXPECT_EQ(texts(),
              (Strings{"Значение номера объекта должно быть от 1 до 255 для протокола RRD/RPI",
                       "Значение номера системы должно быть от 1 до 255 для протокола RRD/RPI"}));
    EXPECT_EQ(dialogs.messages.front().icon, MessageIcon::Warning);
    EXPECT_TRUE(commands.empty());

    // A serial number that cannot make its four bytes is refused before anything is sent.
    m.EditMainObj.text = "12";
    m.EditMainSys.text = "5";
    m.EditSerialN.text = "999345678";
    write();
    EXPECT_EQ(texts(), Strings{"Неверный серийный номер объектового устройства"});
    EXPECT_TRUE(commands.empty());
}

TEST_F(WriteTest, VoiceCallBlocks) {
    readAndLogin();
    show(kNodeVoiceCall);
    TformMain& m = app.main;
    m.CheckBoxECallEn.checked = true;
    m.EditECallMic.text = "8";
    m.EditECallSpk.text = "60";
    m.EditECallN1.text = "12345";
    for (Edit* e : {&m.EditECallN2, &m.EditECallN3, &m.EditECallN4, &m.EditECallN5})
        e->text.clear();
    m.CheckBoxInCall.checked = false;
    m.EditInCallN1.text = "911";
    m.EditInCallN2.text.clear();
    m.EditInCallN3.text.clear();
    write();
    ASSERT_EQ(commands.size(), 2U);
    auto spaces = [](int n) {
        std::string hex;
        for (int i = 0; i < n; ++i)
            hex += "20";
        return hex;
    };
    EXPECT_EQ(commands[0],
              "AT+V160225003F"
              "083C"
              "3132333435" +
                  spaces(7) + spaces(48) + "01");
    EXPECT_EQ(commands[1],
              "AT+V1602640025"
              "00"
              "393131" +
                  std::string(18, '0') + std::string(48, '0') + "");
    EXPECT_EQ(m.StatusBar1.text, "Настройки записаны");

    // A level out of its range is refused with the message of its field's exit check.
    const std::tuple<const char*, const char*, const char*> levels[] = {
        {"8", "", "Введите значение громкости динамика"},
        {"50", "60", "Чувствительность микрофона должна быть от 1 до 15"},
        {"8", "0", "Громкость динамика должна быть от 1 до 100"},
        {"8", "101", "Громкость динамика должна быть от 1 до 100"},
    };
    for (const auto& [mic, speaker, message] : levels) {
        m.EditECallMic.text = mic;
        m.EditECallSpk.text = speaker;
        write();
        EXPECT_EQ(texts(), Strings{message});
        EXPECT_TRUE(commands.empty());
    }
}

// The settings file that "Сохранить настройки в файл" would write now, and the object page's
// values, which the image holds and no settings file does.
std::string savedFile(const App& app) {
    SettingsFileContent content = settingsFileContent(app);
    content.created.clear();
    const TSettingsImage& image = app.image;
    return composeSettingsFile(content) + "object " + std::to_string(image.mainSystem) + " " +
           std::to_string(image.mainObjectMinus1) + " " + std::to_string(image.protocol);
}

// A write that fails, before the port opens, on a silent modem or part-way, leaves the settings
// image as it was: a settings file saved afterwards holds what was read, not the page's values.
TEST_F(WriteTest, AFailedWriteLeavesTheSettingsImageAsItWas) {
    readAndLogin();
    TformMain& m = app.main;
    const struct {
        const char* page;
        std::function<void()> change;
        int answered;  // commands answered before the modem goes silent part-way
    } pages[] = {
        {"user 2",
         [&] {
             show(2);
             m.EditUserTel.text = "+7999000111";
             m.EditUserPassword.text = "9876";
         },
         0},
        {"SIM",
         [&] {
             show(kNodeModem, Page::TabSheet2);
             m.EditSim1Pin1.text = "4321";
             m.EditSim2Ballance.text = "99";
         },
         2},
        {"GPRS",
         [&] {
             show(kNodeModem, Page::TabSheet5);
             m.CheckModemFlagGPRS.checked = !m.CheckModemFlagGPRS.checked;
             m.EditGPRSIP1.text = "10.1.2.3";
             m.EditGPRSLogin.text = "user";
         },
         2},
        {"object",
         [&] {
             show(kNodeModem, Page::TabSheetTests);
             selectItem(m.ComBoxProt, 1);
             m.EditMainObj.text = "12";
             m.EditMainSys.text = "5";
         },
         1},
    };
    const std::string before = savedFile(app);
    for (const auto& page : pages) {
        for (const char* failure : {"no port", "silent", "part-way"}) {
            SCOPED_TRACE(std::string(page.page) + ", " + failure);
            page.change();
            const std::string f = failure;
            cable.setPresent(f != "no port");
            modem.options().faults.stopAfterCommands =
                modem.commandsSeen() + (f == "part-way" ? page.answered : 0);
            write();
            const Strings shown = texts();
            EXPECT_FALSE(shown.empty());
            EXPECT_EQ(std::count(shown.begin(), shown.end(), "Настройки записаны"), 0);
            EXPECT_EQ(savedFile(app), before);
        }
    }
    // Written, the values are the image's.
    cable.setPresent(true);
    modem.options().faults.stopAfterCommands = -1;
    write();
    EXPECT_EQ(m.StatusBar1.text, "Настройки записаны");
    EXPECT_EQ(app.image.mainObjectMinus1, 11);
}

// The GPRS section checks the SIM pages and writes only the modem flags of them: their other
// values stay out of the image.
TEST_F(WriteTest, GprsWriteTakesNoUnwrittenSimValuesIntoTheImage) {
    readAndLogin();
    show(kNodeModem, Page::TabSheet5);
    const std::string pin = app.image.sims[0].pin;
    app.main.EditSim1Pin1.text = pin == "4321" ? "1234" : "4321";
    app.main.EditGPRSIP1.text = "10.1.2.3";
    write();
    EXPECT_EQ(texts(), Strings{"Настройки записаны"});
    EXPECT_EQ(app.image.sims[0].pin, pin);
    EXPECT_EQ(app.image.servers[0].ip, "10.1.2.3");
}

TEST_F(WriteTest, AReadPressedDuringAWriteFindsTheLinkTaken) {
    readAndLogin();
    show(kNodeVoiceCall);
    clock.startTimer(300, [this] { btnReadNastUserClick(app); });
    write();
    EXPECT_EQ(commands.size(), 2U);
    EXPECT_EQ(app.main.StatusBar1.text, "Настройки записаны");
}

class WritePortErrorTest : public test::AppFixture {};

TEST_F(WritePortErrorTest, APortErrorInTheMiddleEndsTheSectionInOrder) {
    devices.names = {"COM1"};
    devices.paths[1] = "modem";
    FormShow(app, &profile);
    selectItemText(app.main.ComboBox1, "COM1");
    app.login = {true, kRoleMaster, 1};
    app.main.TreeView1.selected = kNodeModem;
    app.main.activePage = Page::TabSheet2;
    for (Edit* pin : {&app.main.EditSim1Pin1, &app.main.EditSim2Pin1})
        pin->text = "1234";
    for (Edit* ussd : {&app.main.EditSIM1USSD, &app.main.EditSIM2USSD})
        ussd->text = "100";
    app.main.EditSim1Ballance.text = "0";
    app.main.EditSim2Ballance.text = "0";
    port.arrive(150, "\r\nOK\r\n");
    clock.startTimer(250, [this] { port.failRead = true; });
    ButtonWriteNastrClick(app);
    // The port's error is the one message: the link is not merely silent.
    ASSERT_EQ(dialogs.messages.size(), 1U);
    EXPECT_EQ(dialogs.messages[0].text, "Read data error");
    EXPECT_EQ(dialogs.messages[0].caption, "Ошибка");
    EXPECT_EQ(port.sent.size(), 2U);
    EXPECT_FALSE(port.isOpen());
    EXPECT_TRUE(app.main.ButtonWriteNastr.enabled);
}

// Each section's section of the page: where it is, and the fields that make it valid.
struct Section {
    const char* name;
    int node;
    std::optional<Page> tab;
};

const Section kUserSection{"user 1", 1, Page::TabSheet1};
const Section kSimSection{"SIM", kNodeModem, Page::TabSheet2};
const Section kGprsSection{"GPRS", kNodeModem, Page::TabSheet5};
const Section kObjectSection{"object", kNodeModem, Page::TabSheetTests};
const Section kVoiceSection{"voice call", kNodeVoiceCall, std::nullopt};

void makeValid(TformMain& m) {
    m.EditSim1Pin1.text = m.EditSim2Pin1.text = "1234";
    m.EditSIM1USSD.text = m.EditSIM2USSD.text = "100";
    selectItem(m.ComBoxProt, 1);
    m.EditMainObj.text = "12";
    m.EditMainSys.text = "5";
    m.EditSerialN.text = "12345678";
}

// A press that does not reach the modem, or not all of it: the section's own words, as many
// commands as it got out, the settings image untouched, the port closed and the button back.
struct Refusal {
    Section section;
    std::function<void(test::SimFixture&, TformMain&)> arrange;
    Strings messages;
    std::size_t sent;
};

class WriteRefusalTest : public WriteTest {
  protected:
    void check(const std::vector<Refusal>& cases) {
        readAndLogin();
        const auto entries = app.main.ComboBox1.items;
        for (const Refusal& c : cases) {
            SCOPED_TRACE(testing::Message() << c.section.name << " " << c.messages.front());
            app.main.ComboBox1.items = entries;
            selectItemText(app.main.ComboBox1, "COM1");
            show(c.section.node, c.section.tab);
            makeValid(app.main);
            c.arrange(*this, app.main);
            const std::string before = savedFile(app);
            write();
            EXPECT_EQ(texts(), c.messages);
            EXPECT_EQ(commands.size(), c.sent);
            EXPECT_EQ(savedFile(app), before);
            EXPECT_FALSE(port.isOpen());
        }
    }
};

// A port that cannot be opened: a device that is not there.
void noDevice(test::SimFixture&, TformMain& m) {
    m.ComboBox1.items.push_back("COM2");
    selectItemText(m.ComboBox1, "COM2");
}

TEST_F(WriteRefusalTest, PortThatCannotOpenInEachSection) {
    check({
        {kUserSection, noDevice, {"Нет связи с модемом"}, 0},
        {kSimSection, noDevice, {"Не могу открыть порт"}, 0},
        // The modem section opens the port before the GPRS section opens it again with its own
        // words: only a device gone between the two would show "Не мгу открыть порт".
        {kGprsSection, noDevice, {"Не могу открыть порт"}, 0},
        {kObjectSection, noDevice, {"Не могу открыть порт"}, 0},
        {kVoiceSection, noDevice, {"Не могу открыть порт"}, 0},
    });
}

TEST_F(WriteRefusalTest, TextsTooLongForTheirFields) {
    const std::string tooLong(60, '7');
    const Strings tooLongText = {"Текст не помещается в поле настроек модема"};
    check({
        {kUserSection, [&](auto&, TformMain& m) { m.EditUserTel.text = tooLong; }, tooLongText, 0},
        {kSimSection,
         [&](auto&, TformMain& m) {
             m.AutoSetPar1.checked = false;
             m.EditSim1APN.text = tooLong;
         },
         tooLongText, 0},
        {kVoiceSection, [&](auto&, TformMain& m) { m.EditECallN1.text = tooLong; }, tooLongText, 0},
        {kVoiceSection, [&](auto&, TformMain& m) { m.EditInCallN3.text = tooLong; }, tooLongText,
         0},
    });
}

// The GPRS fields are checked after the modem flags went out; the section then fails.
TEST_F(WriteRefusalTest, GprsFieldChecks) {
    const auto field = [](Edit TformMain::*edit, std::size_t length) {
        return [edit, length](auto&, TformMain& m) { (m.*edit).text = std::string(length, '1'); };
    };
    const auto refused = [](const char* text) { return Strings{text, "Нет связи с модемом"}; };
    check({
        {kGprsSection,
         [](auto&, TformMain& m) {
             m.ComBoxTestGPRS.itemIndex = -1;
             m.ComBoxTestGPRS.text = "???";
         },
         {"Выберете корректное значение периода тестов GPRS-канала"},
         0},
        {kGprsSection, field(&TformMain::EditGPRSLogin, 16),
         refused("Длина имени авторизации д.б не более 15 символов"), 1},
        {kGprsSection, field(&TformMain::EditGPRSPass, 9),
         refused("Длина пароля авторизации д.б не более 8 символов"), 1},
        {kGprsSection, field(&TformMain::EditGPRSDNS1, 16),
         refused("Адрес DNS1 не более 15 символов"), 1},
        {kGprsSection, field(&TformMain::EditGPRSDNS2, 16),
         refused("Адрес DNS2 не более 15 символов"), 1},
        {kGprsSection, field(&TformMain::EditGPRSIP2, 16), refused("Адрес IP не более 15 символов"),
         1},
        {kGprsSection, field(&TformMain::EditGPRSPort1, 5),
         refused("Адрес порта не более 4 символов"), 1},
        {kGprsSection, field(&TformMain::EditGPRSWWW2, 25),
         refused("Адрес имя сервера д.б не более 24 символов"), 1},
    });
}

// The object page's checks, RPI+ ones first: each is a warning and nothing is sent.
TEST_F(WriteRefusalTest, ObjectChecks) {
    const auto values = [](int protocol, const char* object, const char* system,
                           const char* serial = "12345678") {
        return [=](auto&, TformMain& m) {
            selectItem(m.ComBoxProt, protocol);
            m.EditMainObj.text = object;
            m.EditMainSys.text = system;
            m.EditSerialN.text = serial;
        };
    };
    check({
        {kObjectSection, values(-1, "12", "5"), {"Выберите один из протоколов"}, 0},
        {kObjectSection, values(1, "", "5"), {"Введите значение номера объекта"}, 0},
        {kObjectSection, values(1, "12", "x"), {"Введите значение номера системы"}, 0},
        {kObjectSection,
         values(2, "0", "5"),
         {"Значение номера объекта должно быть от 1 до 2048 для RPI+."},
         0},
        {kObjectSection,
         values(2, "2049", "8"),
         {"Значение номера объекта должно быть от 1 до 2048 для RPI+."},
         0},
        {kObjectSection,
         values(2, "2048", "0"),
         {"Значение номера системы должно быть от 1 до 7 для RPI+."},
         0},
        {kObjectSection,
         values(2, "1", "8"),
         {"Значение номера системы должно быть от 1 до 7 для RPI+."},
         0},
        {kObjectSection,
         values(2, "1", "7", "1234567"),
         {"Введите сериный номер объектового устройства"},
         0},
        {kObjectSection,
         values(0, "256", "5"),
         {"Значение номера объекта должно быть от 1 до 255 для протокола RRD/RPI"},
         0},
        {kObjectSection,
         values(1, "5", "256"),
         {"Значение номера системы должно быть от 1 до 255 для протокола RRD/RPI"},
         0},
    });
}

// Every page changed, written and read back shows what was written.
TEST_F(WriteTest, RoundTripOfEveryPage) {
    readAndLogin();
    TformMain& m = app.main;
    show(2);
    m.cbUserON.checked = true;
    checkRadio(m.RBtnSMSifNoGPRS, m.RBtnSMSalways);
    m.EditUserTel.text = "+7999000111";
    m.EditUserPassword.text = "9876";
    selectItem(m.cbUserStatus, 2);
    selectItem(m.cbUserTypeMess, 1);
    selectItem(m.cbUserObjectON, 1);
    selectItem(m.cbUserSystemON, 1);
    m.cbUserPriority.checked = true;
    m.cbUserDialON.checked = true;
    m.cbUserTestMessON.checked = true;
    m.CheckBoxMessFireON.checked = false;
    m.CheckBoxMessInfOn.checked = true;
    m.EditSeekObject.text = "77";
    m.EditUserTtestmessH.text = "5";
    write();
    show(kNodeModem, Page::TabSheet2);
    for (int k = 1; k <= 2; ++k) {
        SimControls c = simControls(m, k);
        c.autoDetect.checked = false;
        c.pin.checked = true;
        c.balance.checked = true;
        c.pinCode.text = k == 1 ? "4321" : "8765";
        c.ussd.text = k == 1 ? "105" : "102";
        c.threshold.text = k == 1 ? "33" : "199";
        c.apn.text = "internet.example" + std::to_string(k);
        c.name.text = "gdata" + std::to_string(k);
        c.pass.text = "secret" + std::to_string(k);
    }
    m.CheckBoxSim2Vkl.checked = true;
    write();
    show(kNodeModem, Page::TabSheet5);
    m.CheckModemFlagGPRS.checked = true;
    m.CheckModemFlagGPRSCont.checked = true;
    checkRadio(m.RBtnDNS1, m.RBtnIP1);
    checkRadio(m.RBtnDNS2, m.RBtnIP2);
    m.CheckBoxGPRSRez2.checked = true;
    m.EditGPRSIP1.text = "10.1.2.3";
    m.EditGPRSIP2.text = "10.3.2.1";
    m.EditGPRSWWW1.text = "alarm.example.org";
    m.EditGPRSWWW2.text = "reserve.example.org";
    m.EditGPRSPort1.text = "9000";
    m.EditGPRSPort2.text = "9001";
    m.EditGPRSLogin.text = "user";
    m.EditGPRSPass.text = "pass";
    m.EditGPRSDNS1.text = "1.1.1.1";
    m.EditGPRSDNS2.text = "9.9.9.9";
    selectItem(m.ComBoxTestGPRS, 2);
    write();
    show(kNodeModem, Page::TabSheetTests);
    selectItem(m.ComBoxProt, 2);
    m.EditMainObj.text = "1500";
    m.EditMainSys.text = "3";
    m.EditSerialN.text = "42654321";
    write();
    show(kNodeVoiceCall);
    m.CheckBoxECallEn.checked = true;
    m.CheckBoxInCall.checked = true;
    Edit* numbers[] = {&m.EditECallN1, &m.EditECallN2,  &m.EditECallN3,  &m.EditECallN4,
                       &m.EditECallN5, &m.EditInCallN1, &m.EditInCallN2, &m.EditInCallN3};
    for (int i = 0; i < 8; ++i)
        numbers[i]->text = "+7495000" + std::to_string(i);
    m.EditECallSpk.text = "77";
    m.EditECallMic.text = "9";
    write();
    EXPECT_EQ(m.StatusBar1.text, "Настройки записаны");

    auto snapshot = [&] {
        std::vector<std::string> values;
        show(2);
        for (const auto& c : userPageControls(m))
            values.push_back(std::string(c.name) + "=" + controlValue(c.control));
        for (auto pages : {simPageControls(m), gprsPageControls(m), objectPageControls(m),
                           voiceCallPageControls(m)}) {
            for (const auto& c : pages)
                values.push_back(std::string(c.name) + "=" + controlValue(c.control));
        }
        return values;
    };
    const auto written = snapshot();
    readAndLogin();
    EXPECT_EQ(snapshot(), written);
}

}  // namespace
}  // namespace zelar
