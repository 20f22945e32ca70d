#include <unistd.h>

#include <fstream>
#include <tuple>

#include "app/control_events.h"
#include "app/service/firmware_update.h"
#include "app/shell/startup.h"
#include "app_fixture.h"
#include "firmware/firmware_image.h"
#include "sim/fault_plan.h"
#include "sim_fixture.h"

namespace zelar::test {
namespace {

std::string writeFile(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    // Test cases run as processes side by side: each keeps its own files.
    const std::string path = ::testing::TempDir() + std::to_string(::getpid()) + "-" + name;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return path;
}

std::vector<std::uint8_t> openImageFile(std::size_t size) {
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<std::uint8_t>(i * 7 + i / 256);
    return bytes;
}

// An open image that names its version, which "Программировать" takes without a question.
std::vector<std::uint8_t> namedImageFile(std::size_t size) {
    std::vector<std::uint8_t> bytes = openImageFile(size);
    const std::string mark = "     Ver0207";
    std::copy(mark.begin(), mark.end(), bytes.begin() + 300);
    return bytes;
}

// The service window against scripted ports: the main link and the boot loader link.
class FirmwareTest : public AppFixture {
  protected:
    FirmwareTest() {
        devices.names = {"COM1"};
        devices.paths[1] = "scripted";
        FormShow(app, &profile);
        selectItemText(app.main.ComboBox1, "COM1");
        choose(writeFile("fw.bin", namedImageFile(1000)));
    }

    void choose(const std::optional<std::string>& path) {
        dialogs.fileNames.push_back(path);
        BtnOpenClick(app);
    }
    // "!" now, then one acknowledgement `ack` 50 ms into each block's wait.
    void bootLoaderAnswers(const std::vector<std::string>& acks) {
        boot.arrive(0, "!");
        for (std::size_t i = 0; i < acks.size(); ++i)
            boot.arrive(50 + 100 * int(i), acks[i]);
    }
    void runOut() { clock.advanceMs(60'000); }
    void expectMessage(const std::string& text, const std::string& caption, MessageIcon icon) {
        ASSERT_FALSE(dialogs.messages.empty());
        const auto& m = dialogs.messages.back();
        EXPECT_EQ(std::tie(m.text, m.caption, m.icon), std::tie(text, caption, icon));
    }

    ScriptedPort boot{clock};
    App app{Services{port, clock, dialogs, devices, &boot}};
    TformSetup& s = app.setup;
};

TEST_F(FirmwareTest, ChosenFileShowsPathVersionAndDate) {
    const std::string coded =
        writeFile("fw.dat", {2, 5, 15, 3, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1});
    choose(coded);
    EXPECT_EQ(s.labelNameFile.caption + s.labelNameFile.hint, coded + coded);
    EXPECT_EQ(s.labVer.caption + " " + s.LabDate.caption, "2.05 15.03.10");
    EXPECT_TRUE(s.Label4.visible);

    choose(writeFile("plain.bin", openImageFile(300)));
    EXPECT_EQ(s.labVer.caption, "Версия не определена");
    EXPECT_FALSE(s.Label4.visible);
    choose(std::nullopt);  // cancelled: nothing changes
    EXPECT_EQ(s.labVer.caption, "Версия не определена");
}

TEST_F(FirmwareTest, UnusableFileIsRefused) {
    for (const std::string& path :
         {writeFile("empty.bin", {}), writeFile("head.dat", {2, 5, 1}),
          ::testing::TempDir() + "missing.bin", writeFile("ff.bin", {0xFF}),
          writeFile("nul.bin", std::vector<std::uint8_t>(500, 0))}) {
        choose(path);
        SpBtnFlashMCUClick(app);
        expectMessage("Ошибка открытия файла", "Ошибка", MessageIcon::Error);
        EXPECT_EQ(boot.openCount, 0);
        EXPECT_TRUE(FormSetupCloseQuery(app));
    }
}

TEST_F(FirmwareTest, FileWithoutTheVersionIsProgrammedOnlyWhenTheUserSaysSo) {
    const std::string question =
        "В файле не найдена версия прошивки: он может быть не для этого модема. Программировать?";
    app.image.firmwareVersion = 205;
    choose(writeFile("plain.bin", openImageFile(1000)));
    dialogs.answers.push_back(MessageResult::No);
    SpBtnFlashMCUClick(app);
    expectMessage(question, "Модем", MessageIcon::Warning);
    EXPECT_TRUE(port.sent.empty());  // the modem is not restarted
    EXPECT_EQ(boot.openCount, 0);
    EXPECT_FALSE(app.link.busy());
    EXPECT_TRUE(s.SpBtnFlashMCU.enabled && s.BtnOpen.enabled);

    // Asked again on the next press; yes, this time.
    dialogs.messages.clear();
    dialogs.answers.push_back(MessageResult::Yes);
    port.arrive(50, "\r\nOK\r\n");
    SpBtnFlashMCUClick(app);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(port.sent, std::vector<std::string>{"AT+V39\r"});
    EXPECT_TRUE(boot.isOpen());
    BtnCancelClick(app);

    // A file that names its version asks nothing.
    choose(writeFile("named.bin", namedImageFile(1000)));
    dialogs.messages.clear();
    SpBtnFlashMCUClick(app);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_TRUE(waitingForBootLoader(app));
}

TEST_F(FirmwareTest, NoRestartRequestBelow205) {
    for (double version : {0.0, 204.0}) {
        app.image.firmwareVersion = version;
        SpBtnFlashMCUClick(app);
        EXPECT_TRUE(port.sent.empty());
        EXPECT_EQ(s.labInfo.caption, "Перезапустите модем...");
        EXPECT_TRUE(boot.isOpen());
        EXPECT_FALSE(s.SpBtnFlashMCU.enabled || s.BtnOpen.enabled);
        EXPECT_TRUE(s.BtnCancel.enabled);
        BtnCancelClick(app);
    }
}

TEST_F(FirmwareTest, RestartConfirmedOnThirdPoll) {
    app.image.firmwareVersion = 205;
    port.arrive(250, "\r\nOK\r\n");
    SpBtnFlashMCUClick(app);
    EXPECT_EQ(port.sent, std::vector<std::string>{"AT+V39\r"});
    EXPECT_FALSE(port.isOpen());
    EXPECT_TRUE(boot.isOpen());
    EXPECT_EQ(clock.tickMs(), 300);
    EXPECT_EQ(s.labInfo.caption, "Перезагрузка модема...");
}

// What may come before the boot loader's lone "!": noise is purged, the link keeps listening,
// and the "!" that follows (in the same read, at once or after a restart by hand) starts a
// whole transfer.
struct BeforeAnnouncement {
    const char* name;
    std::string input;  // arrives at 0 ms
    int announceMs;     // when the "!" follows; 0: in the same read
};

TEST_F(FirmwareTest, InputBeforeTheAnnouncementIsPurgedAndTheWaitGoesOn) {
    const std::vector<BeforeAnnouncement> cases = {
        {"stray byte joined to the \"!\"", std::string(1, '\0'), 0},
        // Its clean-up would fall inside the first block's wait, after the acknowledgement.
        {"stray byte 20 ms before", std::string(1, '\0'), 20},
        {"stray byte, then a restart", "x", 5000},
        {"double announcement, then a restart", "!!", 3000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        boot.sent.clear();
        SpBtnFlashMCUClick(app);
        if (c.announceMs == 0) {
            boot.arrive(0, c.input + "!");
        } else {
            boot.arrive(0, c.input);
            clock.advanceMs(c.announceMs - 1);
            EXPECT_TRUE(boot.isOpen());
            EXPECT_TRUE(boot.sent.empty());
            EXPECT_TRUE(waitingForBootLoader(app));
            EXPECT_EQ(s.labInfo.caption, "Перезапустите модем...");
            EXPECT_FALSE(s.SpBtnFlashMCU.enabled);
            clock.advanceMs(1);
            boot.arrive(0, "!");
        }
        for (int i = 0; i < kFirmwarePages; ++i)
            boot.arrive(50 + 100 * i, "K");
        runOut();
        EXPECT_EQ(boot.sent.size(), std::size_t(kFirmwarePages));
        EXPECT_EQ(s.labInfo.caption, "Запись завершена успешно.");
        EXPECT_EQ(app.firmware.lastResult, FirmwareState::Result::Succeeded);
    }
}

TEST_F(FirmwareTest, OversizedFileIsRefusedWhenOpened) {
    std::vector<std::uint8_t> bytes = openImageFile(kFirmwareImageSize + 256);
    choose(writeFile("large.bin", bytes));
    expectMessage("Прошивка 127232 байт не помещается в память программ модема (126976 байт)",
                  "Ошибка", MessageIcon::Error);
    SpBtnFlashMCUClick(app);
    expectMessage("Ошибка открытия файла", "Ошибка", MessageIcon::Error);
    EXPECT_EQ(boot.openCount, 0);

    // Erased bytes past the program memory are no program.
    std::fill(bytes.begin() + std::ptrdiff_t(kFirmwareImageSize), bytes.end(), 0xFF);
    dialogs.messages.clear();
    choose(writeFile("padded.bin", bytes));
    EXPECT_TRUE(dialogs.messages.empty());
    SpBtnFlashMCUClick(app);
    EXPECT_TRUE(boot.isOpen());
}

TEST_F(FirmwareTest, CancelWhileWaitingThenStartAfresh) {
    SpBtnFlashMCUClick(app);
    EXPECT_FALSE(FormSetupCloseQuery(app));
    EXPECT_TRUE(app.link.busy());  // no other operation may take the port
    BtnCancelClick(app);
    EXPECT_EQ(s.labInfo.caption, "Процесс отменен");
    EXPECT_FALSE(boot.isOpen());
    EXPECT_TRUE(s.SpBtnFlashMCU.enabled && s.BtnOpen.enabled);
    EXPECT_TRUE(FormSetupCloseQuery(app));
    SpBtnFlashMCUClick(app);
    EXPECT_EQ(boot.openCount, 2);
    EXPECT_TRUE(boot.isOpen());
}

TEST_F(FirmwareTest, AnySingleCharacterAcknowledges) {
    SpBtnFlashMCUClick(app);
    bootLoaderAnswers(std::vector<std::string>(kFirmwarePages, "E"));
    runOut();
    EXPECT_EQ(boot.sent.size(), std::size_t(kFirmwarePages));
    EXPECT_EQ(s.ProgressBar1.position, 495);
    EXPECT_EQ(s.labInfo.caption, "Запись завершена успешно.");
    expectMessage("Запись завершена успешно", "", MessageIcon::None);
}

TEST_F(FirmwareTest, TwoCharactersStopTheTransfer) {
    SpBtnFlashMCUClick(app);
    bootLoaderAnswers({"K", "K", "KK", "K"});
    runOut();
    EXPECT_EQ(boot.sent.size(), 3u);
    EXPECT_FALSE(boot.isOpen());
    EXPECT_EQ(s.labInfo.caption, "Запись завершена с ошибкой.");
    expectMessage("Ошибка записи", "Ошибка", MessageIcon::Error);
    EXPECT_TRUE(s.SpBtnFlashMCU.enabled && s.BtnOpen.enabled && s.BtnCancel.enabled);
}

TEST_F(FirmwareTest, PortErrorDuringTransferEndsAsFailure) {
    SpBtnFlashMCUClick(app);
    boot.arrive(0, "!");
    clock.startTimer(50, [this] { boot.failRead = true; });
    runOut();
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[0].text, "Read error (0), Read data error");
    expectMessage("Ошибка записи", "Ошибка", MessageIcon::Error);
    EXPECT_FALSE(boot.isOpen());
    EXPECT_TRUE(s.SpBtnFlashMCU.enabled && FormSetupCloseQuery(app));
}

// How a start can fail before the boot loader speaks. Each either ends the operation with the
// port free and the buttons back, or waits for the "!" with the boot loader link open.
struct Rig {
    ScriptedPort& port;
    ScriptedPort& boot;
    App& app;
    sim::VirtualClock& clock;
};

struct StartFailure {
    const char* name;
    double firmwareVersion;  // 205 on asks the modem to restart
    std::function<void(Rig&)> arrange;
    std::vector<std::string> messages;
    std::string status;
    bool waiting;  // still waiting for the "!"
};

TEST_F(FirmwareTest, FailuresBeforeTheAnnouncement) {
    const std::vector<StartFailure> cases = {
        {"main link cannot open for the restart",
         205,
         [](auto& t) { t.port.failOpen = true; },
         {"Ошибка открытия порта"},
         "Ошибка открытия порта",
         false},
        {"main link fails during the restart request",
         205,
         [](auto& t) { t.port.failRead = true; },
         {"Read data error"},
         "Перезапустите модем...",
         true},
        {"main link fails during the restart request, then the boot loader link cannot open",
         205,
         [](auto& t) { t.port.failRead = t.boot.failOpen = true; },
         {"Read data error"},
         "Read data error",
         false},
        {"boot loader link cannot open",
         0,
         [](auto& t) { t.boot.failOpen = true; },
         {"Ошибка открытия порта"},
         "Перезапустите модем...",
         false},
        {"no port chosen",
         0,
         [](auto& t) { t.app.main.ComboBox1.itemIndex = -1; },
         {"Ошибка открытия порта"},
         "Перезапустите модем...",
         false},
        {"cancelled during the restart request",
         205,
         [](auto& t) { t.clock.startTimer(500, [&t] { BtnCancelClick(t.app); }); },
         {},
         "Процесс отменен",
         false},
        {"stray byte, then the purge fails",
         0,
         [](auto& t) {
             t.boot.failPurge = true;
             t.boot.arrive(1000, "x");
         },
         {"Error clearing buffers (22), Invalid argument"},
         "Error clearing buffers (22), Invalid argument",
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Rig t{port, boot, app, clock};
        port.failOpen = port.failRead = boot.failOpen = boot.failPurge = false;
        selectItemText(app.main.ComboBox1, "COM1");
        dialogs.messages.clear();
        const int opened = boot.openCount;
        app.image.firmwareVersion = c.firmwareVersion;
        c.arrange(t);
        SpBtnFlashMCUClick(app);
        clock.advanceMs(15'000);
        std::vector<std::string> shown;
        for (const auto& m : dialogs.messages)
            shown.push_back(m.text);
        EXPECT_EQ(shown, c.messages);
        EXPECT_EQ(s.labInfo.caption, c.status);
        EXPECT_FALSE(port.isOpen());
        EXPECT_EQ(boot.isOpen(), c.waiting);
        EXPECT_EQ(waitingForBootLoader(app), c.waiting);
        EXPECT_EQ(FormSetupCloseQuery(app), !c.waiting);
        EXPECT_EQ(app.link.busy(), c.waiting);
        EXPECT_TRUE(s.BtnCancel.enabled);
        EXPECT_EQ(s.SpBtnFlashMCU.enabled && s.BtnOpen.enabled, !c.waiting);
        if (c.waiting) {
            // The wait holds the link; "Отмена" is its own and acts, as the window lets it.
            const ControlEvents& cancel = *findControlEvents(FormId::Setup, "BtnCancel");
            ASSERT_TRUE(actsNow(app, cancel));
            cancel.click(app);
            EXPECT_FALSE(boot.isOpen() || firmwareBusy(app));
        } else if (c.status == "Процесс отменен") {
            EXPECT_EQ(boot.openCount, opened);
        }
        BtnCancelClick(app);  // idle: nothing to cancel
        EXPECT_EQ(s.labInfo.caption, c.waiting ? "Процесс отменен" : c.status);
    }
}

// The whole image against the simulated modem, on the virtual clock.
class FirmwareSimTest : public SimFixture {};

TEST_F(FirmwareSimTest, FullTransferStoresTheImage) {
    std::vector<std::string> log;
    modem.setLog([&](const std::string& line) { log.push_back(line); });
    const auto bytes = namedImageFile(100'000);
    dialogs.fileNames.push_back(writeFile("full.bin", bytes));
    BtnOpenClick(app);
    app.image.firmwareVersion = 205;
    SpBtnFlashMCUClick(app);
    const auto start = clock.tickMs();
    while (firmwareBusy(app) && clock.tickMs() - start < 120'000)
        clock.advanceMs(1000);
    EXPECT_EQ(app.firmware.lastResult, FirmwareState::Result::Succeeded);
    EXPECT_EQ(modem.store().program, *firmwareImageOf(bytes, FirmwareKind::Open));
    EXPECT_NEAR(double(clock.tickMs() - start), 50'000, 2'000);
    EXPECT_EQ(std::count(log.begin(), log.end(), "> AT+V39"), 1);
}

// The stray byte against the simulated boot loader: close before the "!", or long before it
// while the modem restarts.
TEST_F(FirmwareSimTest, NoiseBeforeTheAnnouncementStillProgramsTheWholeImage) {
    const auto bytes = namedImageFile(100'000);
    dialogs.fileNames.push_back(writeFile("noise.bin", bytes));
    BtnOpenClick(app);
    app.image.firmwareVersion = 205;
    for (const char* fault : {"noise:50", "noise:2000"}) {
        SCOPED_TRACE(fault);
        modem.store().program.assign(modem.store().program.size(), 0xFF);
        modem.options().faults.bootRules = {*sim::parseBootFaultRule(fault)};
        modem.options().faults.bootNoise = "x";
        SpBtnFlashMCUClick(app);
        for (int second = 0; second < 120 && firmwareBusy(app); ++second)
            clock.advanceMs(1000);
        EXPECT_EQ(app.firmware.lastResult, FirmwareState::Result::Succeeded);
        EXPECT_EQ(modem.store().program, *firmwareImageOf(bytes, FirmwareKind::Open));
        clock.advanceMs(5000);  // the new firmware is running
    }
}

// The adapter pulled while waiting for the boot loader: the port's own message, at once.
TEST_F(FirmwareSimTest, PulledAdapterEndsTheWait) {
    dialogs.fileNames.push_back(writeFile("pulled.bin", namedImageFile(1000)));
    BtnOpenClick(app);
    SpBtnFlashMCUClick(app);  // no identification read: the user is to restart by hand
    ASSERT_TRUE(bootPort.isOpen());
    clock.startTimer(2000, [this] { cable.vanish(); });
    clock.advanceMs(2500);
    ASSERT_NE(lastMessage(), nullptr);
    EXPECT_EQ(lastMessage()->text, "Error retrieving statistics (6), Input/output error");
    EXPECT_FALSE(bootPort.isOpen());
    EXPECT_FALSE(firmwareBusy(app));
    EXPECT_EQ(app.firmware.lastResult, FirmwareState::Result::Failed);
    EXPECT_EQ(app.setup.labInfo.caption, lastMessage()->text);
    EXPECT_TRUE(app.setup.SpBtnFlashMCU.enabled && app.setup.BtnOpen.enabled);
}

}  // namespace
}  // namespace zelar::test
