#include "app/service/service_window.h"

#include "app/control_events.h"
#include "app/shell/login.h"
#include "app/shell/read_settings.h"
#include "settings/value_tables.h"
#include "sim_fixture.h"
#include "text/hex.h"

namespace zelar {
namespace {

using Strings = std::vector<std::string>;

std::string ascii(std::string_view text) {
    return bytesToHex(text);
}
std::string times(const std::string& byte, int n) {
    std::string out;
    for (int i = 0; i < n; ++i)
        out += byte;
    return out;
}
std::string blanks(int n) {
    return times("20", n);
}

class ServiceTest : public test::SimFixture {
  protected:
    ServiceTest() {
        modem.setLog([this](const std::string& line) {
            if (line.rfind("> ", 0) != 0)
                return;
            commands.push_back(line.substr(2));
            labels.push_back(app.setup.LabelCountUser.caption);
            if (onCommand)
                onCommand();
        });
        FormSetupShow(app);
    }

    void run(std::string_view control) {
        const ControlEvents* events = findControlEvents(FormId::Setup, control);
        ASSERT_NE(events, nullptr);
        (events->click ? events->click : events->change)(app);
        EXPECT_FALSE(app.link.isOpen());
    }
    void pickMode(int index) {
        selectItem(app.setup.ComBoxWorkAs, index);
        run("ComBoxWorkAs");
        EXPECT_TRUE(app.setup.ComBoxWorkAs.enabled);
    }
    Strings texts() const {
        Strings out;
        for (const auto& m : dialogs.messages)
            out.push_back(m.text);
        return out;
    }

    Strings commands;
    Strings labels;  // LabelCountUser as each command reached the modem
    std::function<void()> onCommand;
};

// The factory writes as the modem must receive them, each with the share shown once it is
// answered.
struct FactoryLine {
    std::string line;
    int percent;
};

std::vector<FactoryLine> factoryLines() {
    std::vector<FactoryLine> out;
    int percent = 0;
    const auto add = [&](std::string line, int step = 3) {
        percent += step;
        out.push_back({std::move(line), percent});
    };
    const std::string flags = "AT+V16000500020200";
    add(flags);
    for (const char* address : {"0008", "0020", "0038", "0050", "0068", "0080"}) {
        const char* status = std::string_view(address) == "0008" ? "00" : "02";
        add(std::string("AT+V16") + address + "0018" + ascii("0000") + blanks(8) + status + "00" +
            ascii("7391") + "00" + "0000" + "04" + "0000");
    }
    add(flags);
    const char* sims[2][6] = {{"0098", "00B4", "00B1", "00D8", "00F0", "0108"},
                              {"00B8", "00D4", "00D1", "0140", "0158", "0170"}};
    for (const auto& a : sims) {
        add(std::string("AT+V16") + a[0] + "0019" + "00" + ascii("7391") + ascii("62840517") +
            times("30", 12));
        add(std::string("AT+V16") + a[1] + "0001" + "00");
        add(std::string("AT+V16") + a[2] + "0003" + ascii("000"));
        // The access point password too: 24 blanks, so that no old password stays behind.
        for (int i = 3; i < 6; ++i)
            add(std::string("AT+V16") + a[i] + "0018" + blanks(24));
    }
    add("AT+V160218000103");
    add("AT+V1601200020" + ascii("8.8.8.8") + blanks(9) + ascii("77.88.8.8") + blanks(7));
    add("AT+V1601A90017" + blanks(23));
    add("AT+V1601C0002C00" + blanks(43));
    add("AT+V1601EC002C00" + blanks(43));
    add("AT+V16021900023840");
    add("AT+V16021C0004000FA002", 6);
    add("AT+V160221000400000000", 8);
    add("AT+V160225003F0746" + blanks(60) + "00", 8);
    add("AT+V1602640025" + times("00", 37), 0);
    return out;
}

TEST_F(ServiceTest, FactoryDefaultsSendEveryWriteInOrderAndShowTheShareDone) {
    const auto expected = factoryLines();
    ASSERT_EQ(expected.size(), 30u);
    ASSERT_EQ(expected[28].percent, 100);
    run("ButtonSetDefault");
    ASSERT_EQ(commands.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(commands[i], expected[i].line) << "write " << i + 1;
        // A write goes out once the one before it is answered and its share shown.
        const std::string shown = i == 0 ? "" : std::to_string(expected[i - 1].percent) + "%";
        EXPECT_EQ(labels[i], shown) << "write " << i + 1;
    }
    EXPECT_EQ(texts(), Strings{"Настройки записаны"});
    EXPECT_EQ(lastMessage()->caption, "Модем");
    EXPECT_EQ(lastMessage()->icon, MessageIcon::None);
    EXPECT_EQ(app.setup.LabelCountUser.caption, "");
    EXPECT_TRUE(app.setup.ButtonSetDefault.enabled);

    // Read back: the factory roles and password, the object not set.
    ASSERT_TRUE(readAndLogIn(app, 1, "7391"));
    EXPECT_EQ(app.login.role, kRoleMaster);
    for (int n = 2; n <= kUserCount; ++n)
        EXPECT_EQ(app.image.users[static_cast<std::size_t>(n - 1)].status, kRoleGuard);
    EXPECT_EQ(app.main.EditMainObj.text, "-?-");
    EXPECT_EQ(memory(0x0218), 0x03);
}

TEST_F(ServiceTest, FactoryDefaultsToASilentModemStopAtTheFirstWriteWithTheImageSet) {
    modem.options().faults.rules.push_back({sim::ReplyFault::Silent});
    app.image.firmwareVersion = 205;
    run("ButtonSetDefault");
    EXPECT_EQ(commands.size(), 1u);
    EXPECT_EQ(app.setup.LabelCountUser.caption, "3%");
    EXPECT_EQ(texts(), Strings{"Нет связи с модемом"});
    EXPECT_EQ(lastMessage()->icon, MessageIcon::Error);
    const TSettingsImage& image = app.image;
    EXPECT_EQ(image.users[5].password, "7391");
    EXPECT_EQ(image.dns2, "77.88.8.8");
    EXPECT_GE(image.mainObjectMinus1, kObjectNotSetLimit);
    EXPECT_EQ(image.firmwareVersion, 205);
    // The pages show the factory values, so a later "Записать" cannot write the old ones back.
    EXPECT_EQ(app.main.EditGPRSDNS2.text, "77.88.8.8");
}

struct ModeCase {
    const char* name;
    int index;
    MessageResult answer;
    std::vector<sim::FaultRule> faults;
    Strings commands;
    Strings messages;
    std::uint8_t modeByte;
};

TEST_F(ServiceTest, OperatingModeChange) {
    const std::string question = "Изменить режим работы модема?";
    const ModeCase cases[] = {
        // The restart is answered 250 ms after it is sent: at the third poll.
        {"restart confirmed",
         1,
         MessageResult::Ok,
         {{sim::ReplyFault::Late, 39}},
         {"AT+V160220000101", "AT+V39"},
         {question},
         0x01},
        {"no restart",
         1,
         MessageResult::Ok,
         {{sim::ReplyFault::Silent, 39}},
         {"AT+V160220000101", "AT+V39"},
         {question, "Для начала работы в выбранном режиме - перезагрузите модем"},
         0x01},
        {"write not confirmed",
         0,
         MessageResult::Ok,
         {{sim::ReplyFault::Silent, 16}},
         {"AT+V160220000102"},
         {question, "Модем не отвечает"},
         0x02},
        {"cancelled", 1, MessageResult::Cancel, {}, {}, {question}, 0x02},
    };
    modem.options().faults.lateUs = 250'000;
    for (const ModeCase& c : cases) {
        SCOPED_TRACE(c.name);
        modem.options().faults.rules = c.faults;
        memory(0x0220) = 0x02;
        commands.clear();
        dialogs.messages.clear();
        dialogs.answers = {c.answer};
        pickMode(c.index);
        EXPECT_EQ(commands, c.commands);
        EXPECT_EQ(texts(), c.messages);
        EXPECT_EQ(app.setup.ComBoxWorkAs.itemIndex, c.index);
        EXPECT_EQ(memory(0x0220), c.modeByte);
        clock.advanceMs(5000);  // the restarted modem is back
    }
    EXPECT_EQ(dialogs.messages.back().icon, MessageIcon::Question);
}

TEST_F(ServiceTest, OperatingModeListIsDisabledWhileItsChangeRuns) {
    bool second = true;
    onCommand = [&] {
        EXPECT_FALSE(app.setup.ComBoxWorkAs.enabled);
        second = ComBoxWorkAsChange(app);
        onCommand = nullptr;
    };
    dialogs.answers = {MessageResult::Ok};
    pickMode(1);
    EXPECT_FALSE(second);
    EXPECT_EQ(commands, (Strings{"AT+V160220000101", "AT+V39"}));
    EXPECT_EQ(dialogs.messages.size(), 1u);
}

TEST_F(ServiceTest, ShowAndCloseClearTheirTexts) {
    TformSetup& s = app.setup;
    for (Label* label : {&s.LabelCountMess, &s.LabelCountUser, &s.labInfo, &s.labVer, &s.LabDate,
                         &s.labelNameFile, &s.LabCountMessRead})
        label->caption = "x";
    s.ProgressBar1.position = 40;
    FormSetupShow(app);
    EXPECT_EQ(s.LabelCountMess.caption, "");
    EXPECT_EQ(s.LabelCountUser.caption, "");
    EXPECT_EQ(s.labInfo.caption, "x");
    FormSetupClose(app);
    for (Label* label : {&s.labInfo, &s.labVer, &s.LabDate, &s.labelNameFile})
        EXPECT_EQ(label->caption, "");
    EXPECT_EQ(s.ProgressBar1.position, 0);
    EXPECT_EQ(s.LabCountMessRead.caption, "x");
}

}  // namespace
}  // namespace zelar
