#include "write_log.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace zelar::cli
