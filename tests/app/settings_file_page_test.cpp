#include "app/service/settings_file_page.h"

#include <filesystem>
#include <fstream>
#include <functional>

#include "app/control_events.h"
#include "app/shell/login.h"
#include "app/shell/read_settings.h"
#include "files/file_io.h"
#include "sim_fixture.h"

namespace zelar {
namespace {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;

class SettingsFileTest : public test::SimFixture {
  protected:
    SettingsFileTest() {
        dir_ = fs::temp_directory_path() /
               ("zelar-md2-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        app.services.localTime = [] { return std::string("07.12.2026 10:00"); };
        modem.setLog([this](const std::string& line) {
            if (line.rfind("> AT+V16", 0) == 0) {
                writes.push_back(line.substr(8, 4));
                percents.push_back(app.setup.LabWNastr.caption);
                EXPECT_FALSE(app.setup.BtnLoadPar.enabled);
            }
        });
        btnReadNastUserClick(app);
        selectItem(app.main.cbUser, 0);
        app.main.EditPassword.text = "1234";
        ButtonApplyPasswordClick(app);
        dialogs.messages.clear();
    }
    ~SettingsFileTest() override { fs::remove_all(dir_); }

    std::string path(const std::string& name) const { return (dir_ / name).string(); }
    SettingsFileResult save(const std::string& name) {
        dialogs.fileNames.push_back(path(name));
        return BtnSaveParClick(app);
    }
    SettingsFileResult load(const std::string& name, MessageResult answer) {
        writes.clear();
        percents.clear();
        dialogs.messages.clear();
        dialogs.fileNames.push_back(path(name));
        dialogs.answers.push_back(answer);
        const SettingsFileResult result = BtnLoadParClick(app);
        EXPECT_TRUE(app.setup.BtnLoadPar.enabled);
        EXPECT_FALSE(app.link.isOpen());
        return result;
    }
    std::string lastText() const { return dialogs.messages.back().text; }

    fs::path dir_;
    Strings writes;    // the address of each V16 write
    Strings percents;  // LabWNastr as each write went out
};

TEST_F(SettingsFileTest, SaveOffersTheNameAndWritesTheShownIdentification) {
    findControlEvents(FormId::Setup, "BtnSavePar")->click(app);  // cancelled: nothing happens
    EXPECT_TRUE(dialogs.messages.empty());
    ASSERT_EQ(dialogs.fileRequests.size(), 1u);
    EXPECT_EQ(dialogs.fileRequests[0].fileName, "Настройки GSM-модема.md2");
    EXPECT_EQ(dialogs.fileRequests[0].filter, "Настройки GSM-модема (*.md2)|*.md2");
    EXPECT_EQ(dialogs.fileRequests[0].defaultExtension, ".md2");

    app.main.StaticTextSN.caption = "Серийный номер: 42654321";
    EXPECT_EQ(save("a.md2"), SettingsFileResult::Saved);
    EXPECT_EQ(lastText(), "Копия настроек успешно создана");
    EXPECT_EQ(dialogs.messages.back().caption, "Модем");
    EXPECT_EQ(dialogs.messages.back().icon, MessageIcon::None);
    const std::string start =
        "\x01\x02\x03"
        "Created: 07.12.2026 10:00\r\nS/N: 426543\r\n";
    EXPECT_EQ(readFileUpTo(path("a.md2"), 100000)->substr(0, start.size()), start);
    EXPECT_TRUE(app.setup.BtnSavePar.enabled);
}

TEST_F(SettingsFileTest, RestoreBringsTheModemBackAsSaved) {
    ASSERT_TRUE(app.main.AutoSetPar1.checked);  // the simulated modem detects SIM 1
    memory(0x0159) = 0x98;                      // a byte Windows-1251 has no character for
    btnReadNastUserClick(app);
    ASSERT_EQ(save("before.md2"), SettingsFileResult::Saved);
    memory(0x0020) = '8';  // user 2's phone
    memory(0x0140) = 'X';  // SIM 2's access point
    memory(0x01C1) = '9';  // main server address

    app.main.EditGPRSIP1.text = "10.0.0.99";  // typed on the page, never written

    EXPECT_EQ(load("before.md2", MessageResult::Yes), SettingsFileResult::Written);
    // The page shows the loaded settings, so a later "Записать" cannot write older values.
    EXPECT_EQ(app.main.EditGPRSIP1.text, app.image.servers[0].ip);
    // SIM 1's four access point writes are left out; the percentage still reaches 100.
    EXPECT_EQ(writes, (Strings{"0008", "0020", "0038", "0050", "0068", "0080", "0005",
                               "0098", "00B4", "00B8", "00D4", "00D1", "0140", "0158",
                               "0170", "0005", "0120", "01A9", "01C0", "01EC", "0219"}));
    EXPECT_EQ(percents,
              (Strings{"",    "4%",  "8%",  "12%", "16%", "20%", "24%", "28%", "32%", "52%", "56%",
                       "60%", "64%", "68%", "72%", "76%", "80%", "84%", "88%", "92%", "96%"}));
    EXPECT_EQ(lastText(), "Настройки записаны");
    EXPECT_EQ(dialogs.messages.back().caption, "Сохранение настроек");
    EXPECT_EQ(dialogs.messages.back().icon, MessageIcon::Information);
    EXPECT_EQ(app.setup.LabWNastr.caption, "");
    EXPECT_EQ(memory(0x0159), 0x98);

    btnReadNastUserClick(app);
    ASSERT_EQ(save("after.md2"), SettingsFileResult::Saved);
    EXPECT_EQ(readFileUpTo(path("after.md2"), 100000), readFileUpTo(path("before.md2"), 100000));
}

TEST_F(SettingsFileTest, WithoutAutoDetectionEveryRegionIsWrittenWithItsPause) {
    app.main.AutoSetPar1.checked = false;
    ASSERT_EQ(save("manual.md2"), SettingsFileResult::Saved);
    const auto start = clock.nowUs();
    EXPECT_EQ(load("manual.md2", MessageResult::Yes), SettingsFileResult::Written);
    EXPECT_EQ(writes.size(), 25u);
    EXPECT_GE(clock.nowUs() - start, 25 * 1'000'000);
    EXPECT_TRUE(app.main.EditSim1APN.enabled);  // the check box's rule ran
}

TEST_F(SettingsFileTest, LoadRefusalsAndFailures) {
    ASSERT_EQ(save("good.md2"), SettingsFileResult::Saved);
    std::ofstream(path("bad.md2"), std::ios::binary) << "\x01\x02\x03"
                                                        "Created\r\nModem\r\n1FF\r\n";
    const TSettingsImage before = app.image;

    EXPECT_EQ(load("missing.md2", MessageResult::Yes), SettingsFileResult::Failed);
    EXPECT_EQ(lastText(), "Не могу открыть файл");
    EXPECT_EQ(load("bad.md2", MessageResult::Yes), SettingsFileResult::Failed);
    EXPECT_EQ(lastText(), "Неверный формат файла");
    EXPECT_EQ(dialogs.messages.back().icon, MessageIcon::Error);
    EXPECT_EQ(dialogs.messages.back().caption, "Модем");
    EXPECT_EQ(app.image.users[0].password, before.users[0].password);

    // No keeps the loaded values in the image and sends nothing.
    app.image.users[0].password = "9999";
    EXPECT_EQ(load("good.md2", MessageResult::No), SettingsFileResult::Loaded);
    EXPECT_EQ(dialogs.messages.back().text,
              "Настройки считаны успешно. Записать восстановленные настройки ?");
    EXPECT_EQ(dialogs.messages.back().caption, "Восстановление настроек");
    EXPECT_EQ(app.image.users[0].password, "1234");

    // The third write goes unanswered: the rest are not sent.
    EXPECT_TRUE(writes.empty());
    modem.options().faults.rules.push_back({sim::ReplyFault::Silent, 16, 3});
    EXPECT_EQ(load("good.md2", MessageResult::Yes), SettingsFileResult::Failed);
    EXPECT_EQ(writes.size(), 3u);
    EXPECT_EQ(lastText(), "Нет связи с модемом");
    EXPECT_EQ(dialogs.messages.back().caption, "Модем");
}

// A file that would leave no "Мастер", or lock a user or a SIM card out, is refused before the
// question; the image and the modem keep what they held.
TEST_F(SettingsFileTest, AFileThatWouldLockOutIsRefusedBeforeTheQuestion) {
    const struct {
        std::function<void(TSettingsImage&)> change;
        std::string message;
    } cases[] = {
        {[](TSettingsImage& m) {
             for (UserRecord& user : m.users)
                 user.status = kRoleOwner;
         },
         "В системе должен остаться хотябы один мастер"},
        {[](TSettingsImage& m) { m.sims[0].pin = "ab"; }, "Неверный формат файла"},
        {[](TSettingsImage& m) { m.sims[1].puk = "1234"; }, "Неверный формат файла"},
        {[](TSettingsImage& m) { m.users[5].password = "12a4"; }, "Неверный формат файла"},
    };
    const TSettingsImage before = app.image;
    for (const auto& c : cases) {
        c.change(app.image);
        ASSERT_EQ(save("refused.md2"), SettingsFileResult::Saved);
        app.image = before;

        EXPECT_EQ(load("refused.md2", MessageResult::Yes), SettingsFileResult::Failed);
        ASSERT_EQ(dialogs.messages.size(), 1u) << c.message;
        EXPECT_EQ(lastText(), c.message);
        EXPECT_EQ(dialogs.messages.back().caption, "Модем");
        EXPECT_EQ(app.image.users[0].status, before.users[0].status);
        EXPECT_EQ(app.image.sims[0].pin, before.sims[0].pin);
        EXPECT_EQ(app.image.users[5].password, before.users[5].password);
        EXPECT_TRUE(writes.empty()) << c.message;
    }
}

}  // namespace
}  // namespace zelar
