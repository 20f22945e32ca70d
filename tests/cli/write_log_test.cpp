#include "write_log.h"

#include <gtest/gtest.h>

#include "files/settings_file.h"
#include "link/commands.h"
#include "settings/memory_map.h"

namespace zelar::cli {
namespace {

std::string writeOf(SettingsRegion region, int k) {
    return commandV16(regionBlock(region, k)->address, {1, 2});
}

TEST(WriteLog, NamesTheSectionsTakenAndTheOneUnderWay) {
    WriteLog log;
    EXPECT_EQ(log.summary(), "");
    log.sent("AT+V17000000080\r");  // a read is no write
    log.received("OK\r\n");
    EXPECT_EQ(log.summary(), "");
    log.sent(writeOf(SettingsRegion::UserRecord, 1));
    EXPECT_EQ(log.summary(), "written: nothing; under way: user 1");
    log.sent(writeOf(SettingsRegion::UserRecord, 1));  // sent again after Retry
    EXPECT_EQ(log.summary(), "written: nothing; under way: user 1");
    log.received("O");
    log.received("K\r\n");
    log.sent(writeOf(SettingsRegion::SimApn, 2));
    EXPECT_EQ(log.summary(), "written: user 1; under way: SIM 2 access point");
    log.received("OK\r\n");
    EXPECT_EQ(log.summary(), "written: user 1, SIM 2 access point");
    EXPECT_EQ(writtenSectionName(0x0700), "memory at 0700");
}

// What a script stored into a settings file: the pages whose values changed, once each, in the
// window's order; a file written again with its own values changed nothing.
TEST(ChangedFilePages, NamesEachPageWhoseValuesChangedOnce) {
    SettingsFileContent held;
    held.created = "01.12.2026 10:00:00";
    const std::string before = composeSettingsFile(held);
    const struct {
        const char* name;
        void (*change)(SettingsFileContent&);
        std::string pages;
    } rows[] = {
        {"nothing", [](SettingsFileContent&) {}, ""},
        {"only the time of saving", [](SettingsFileContent& c) { c.created = "02.12.2026"; }, ""},
        {"two values of one user",
         [](SettingsFileContent& c) {
             c.image.users[1].phone = "+79990000002";
             c.image.users[1].password = "1111";
         },
         "Пользователи #2"},
        {"a user after the GPRS page in the file's order",
         [](SettingsFileContent& c) {
             c.image.gprsAuthName = "login";
             c.image.users[5].phone = "+79990000006";
         },
         "Пользователи #6, Настройка GPRS"},
        {"SIM 2", [](SettingsFileContent& c) { c.image.sims[1].pin = "0000"; },
         "Настройка SIM-карт, SIM 2"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        SettingsFileContent changed = held;
        row.change(changed);
        EXPECT_EQ(changedFilePages(before, composeSettingsFile(changed)), row.pages);
    }
    EXPECT_EQ(changedFilePages(before, "no settings"), "the whole file");
    EXPECT_EQ(changedFilePages("no settings", "no settings"), "");
}

}  // namespace
}  // namespace zelar::cli
