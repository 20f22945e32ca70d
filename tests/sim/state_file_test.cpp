#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "sim/installed_modem.h"
#include "sim/state_file.h"

namespace zelar::sim {
namespace {

TEST(StateFile, RoundTripKeepsEveryMemory) {
    ModemStore store = installedModem("0203");
    store.settings[0x0100] = 0x42;
    store.pageBuffer[7] = 0x07;
    store.flash[511 * 256 + 255] = 0x00;
    store.program[495 * 256] = 0x12;
    const LoadedState loaded = parseState(stateText(store), "109");
    ASSERT_TRUE(loaded.store) << loaded.error;
    EXPECT_EQ(loaded.store->settings, store.settings);
    EXPECT_EQ(loaded.store->pageBuffer, store.pageBuffer);
    EXPECT_EQ(loaded.store->flash, store.flash);
    EXPECT_EQ(loaded.store->program, store.program);
    EXPECT_EQ(loaded.store->firmwareVersion, "0203");
    EXPECT_EQ(loaded.store->bootLoaderVersion, "109");
}

TEST(StateFile, DamagedTextIsRefusedWithTheLine) {
    const std::string good = stateText(installedModem());
    EXPECT_FALSE(parseState("").store);
    EXPECT_FALSE(parseState("zelar-sim state 1\nfirmware 0205\n").store);
    std::string shortSettings = good;
    shortSettings.replace(shortSettings.find("settings ") + 9, 2, "");
    const LoadedState refused = parseState(shortSettings);
    EXPECT_FALSE(refused.store);
    EXPECT_EQ(refused.error, "line 3: settings memory is not 2048 bytes");
    EXPECT_FALSE(parseState(good + "flash 512 " + std::string(512, 'F') + "\n").store);
    EXPECT_FALSE(parseState(good + "program 1 " + std::string(510, 'F') + "\n").store);
    EXPECT_FALSE(parseState(good + "colour blue\n").store);
}

TEST(StateFile, SaveReplacesTheFileWhole) {
    const auto dir =
        std::filesystem::temp_directory_path() / ("zelar-state-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const auto file = dir / "modem.state";
    EXPECT_FALSE(loadState(file).store);
    EXPECT_TRUE(loadState(file).error.empty());
    ModemStore store = installedModem();
    store.settings[5] = 0x03;
    ASSERT_EQ(saveState(file, store), "");
    EXPECT_FALSE(std::filesystem::exists(dir / "modem.state.tmp"));
    const LoadedState loaded = loadState(file);
    ASSERT_TRUE(loaded.store);
    EXPECT_EQ(loaded.store->settings[5], 0x03);
    EXPECT_NE(saveState(dir / "missing" / "x.state", store), "");
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace zelar::sim
