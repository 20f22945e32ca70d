#include <algorithm>
#include <fstream>

#include "app/control_events.h"
#include "app/diagnostics/diagnostics_page.h"
#include "app/service/dictionary_page.h"
#include "app/service/firmware_update.h"
#include "app/shell/read_settings.h"
#include "firmware/firmware_image.h"
#include "sim_fixture.h"

namespace zelar::test {
namespace {

// The fast exchange against the simulated modem: the same outcome as the fixed waits, in less
// virtual time.
class FastExchange : public SimFixture {
  protected:
    void switchOn() {
        app.main.cbFastExchange.checked = true;
        findControlEvents(FormId::Main, "cbFastExchange")->click(app);
    }
    // Virtual milliseconds a handler took.
    template <typename F>
    std::int64_t timed(F&& run) {
        const auto start = clock.tickMs();
        run();
        return clock.tickMs() - start;
    }
    std::vector<std::string> texts() const {
        std::vector<std::string> out;
        for (const auto& m : dialogs.messages)
            out.push_back(m.text);
        return out;
    }
};

TEST_F(FastExchange, BoxSetsTheLinkAndIsKeptInTheProfile) {
    EXPECT_FALSE(app.link.fast());
    switchOn();
    EXPECT_TRUE(app.link.fast());
    FormClose(app, profile);
    EXPECT_EQ((profile.values[{"Modem", "FastExchange"}]), 1);

    App again{Services{port, clock, dialogs, devices, &bootPort}};
    ASSERT_TRUE(FormShow(again, &profile));
    EXPECT_TRUE(again.main.cbFastExchange.checked);
    EXPECT_TRUE(again.link.fast());
}

TEST_F(FastExchange, ReadGivesTheSameSettingsInAFractionOfTheTime) {
    const auto normal = timed([&] { btnReadNastUserClick(app); });
    ASSERT_TRUE(app.settingsRead);
    const auto before = modem.store().settings;
    const std::string serial = app.main.EditSerialN.text;

    switchOn();
    app.main.EditSerialN.text.clear();
    const auto fast = timed([&] { btnReadNastUserClick(app); });
    ASSERT_TRUE(app.settingsRead);
    EXPECT_EQ(modem.store().settings, before);
    EXPECT_EQ(app.main.EditSerialN.text, serial);
    EXPECT_GT(normal, 3000);
    EXPECT_LT(fast, 500);
}

// A modem that misbehaves is judged as with the fixed waits: each fault gives the same outcome.
TEST_F(FastExchange, FaultyRepliesEndTheReadAsWithoutIt) {
    using F = sim::ReplyFault;
    for (const F fault :
         {F::Silent, F::NoOk, F::Split, F::StrayBefore, F::Late, F::Corrupt, F::StrayAfter}) {
        SCOPED_TRACE(sim::faultName(fault));
        std::vector<std::string> outcome[2];
        bool read[2] = {};
        for (const bool fast : {false, true}) {
            dialogs.messages.clear();
            app.link.setFast(fast);
            modem.options().faults.rules = {{fault, 17, 3}};
            btnReadNastUserClick(app);
            // A late reply goes by, and the restart counts the commands afresh.
            cable.powerCycle();
            clock.advanceMs(10'000);
            outcome[fast] = texts();
            read[fast] = app.settingsRead;
        }
        EXPECT_EQ(outcome[0], outcome[1]);
        EXPECT_EQ(read[0], read[1]);
        EXPECT_EQ(read[0], fault == F::Split);  // a split reply is whole in the end
    }
}

TEST_F(FastExchange, DiagnosticsTakeTheReplyOnceComplete) {
    switchOn();
    const auto ms = timed([&] { EXPECT_TRUE(BitBtnReadErrorClick(app)); });
    EXPECT_EQ(app.main.StaticTextQuality.caption, "Уровень: 55%");
    EXPECT_LT(ms, 50);
}

TEST_F(FastExchange, DictionaryDownloadAndUploadKeepTheFlash) {
    switchOn();
    const std::string path = ::testing::TempDir() + std::to_string(::getpid()) + "-fast.txt";
    const auto flash = modem.store().flash;
    dialogs.fileNames.push_back(path);
    ASSERT_TRUE(BtnReadDictClick(app));
    dialogs.fileNames.push_back(path);
    dialogs.answers.push_back(MessageResult::Ok);
    const auto ms = timed([&] { ASSERT_TRUE(btnWriteDictClick(app)); });
    EXPECT_EQ(dialogs.messages.back().text, "Запись словаря успешно завершена");
    EXPECT_EQ(modem.store().flash, flash);
    EXPECT_LT(ms, 15'000);
}

TEST_F(FastExchange, ProgrammingEndsEachBlockOnItsAcknowledgement) {
    std::vector<std::uint8_t> bytes(100'000);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<std::uint8_t>(i * 13 + i / 256);
    const std::string path = ::testing::TempDir() + std::to_string(::getpid()) + "-fast.bin";
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    dialogs.fileNames.push_back(path);
    BtnOpenClick(app);
    app.image.firmwareVersion = 205;
    switchOn();
    SpBtnFlashMCUClick(app);
    const auto start = clock.tickMs();
    while (firmwareBusy(app) && clock.tickMs() - start < 120'000)
        clock.advanceMs(100);
    EXPECT_EQ(app.firmware.lastResult, FirmwareState::Result::Succeeded);
    EXPECT_EQ(modem.store().program, *firmwareImageOf(bytes, FirmwareKind::Open));
    EXPECT_LT(clock.tickMs() - start, 30'000);
}

}  // namespace
}  // namespace zelar::test
