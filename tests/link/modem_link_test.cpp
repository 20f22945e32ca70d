#include "link/modem_link.h"

#include <gtest/gtest.h>

#include "support/scripted_port.h"

namespace zelar {
namespace {

class ModemLinkTest : public ::testing::Test {
  protected:
    void SetUp() override { link.Open(3); }

    sim::VirtualClock clock;
    test::ScriptedPort port{clock};
    TModemLink link{port, clock};
};

TEST_F(ModemLinkTest, OpensAtMainLinkSettings) {
    EXPECT_TRUE(link.isOpen());
    EXPECT_EQ(port.openedNumber, 3);
    EXPECT_EQ(port.openedSettings.baudRate, 115200);
    EXPECT_TRUE(port.openedSettings.dtr);
    EXPECT_TRUE(port.openedSettings.rts);
    EXPECT_EQ(port.openedSettings.inputQueue, 4096);
    EXPECT_EQ(port.openedSettings.outputQueue, 2048);
}

TEST_F(ModemLinkTest, InvalidAndUnopenablePortsThrow) {
    try {
        link.Open(0);
        FAIL();
    } catch (const SerialError& e) {
        EXPECT_STREQ(e.what(), "Invalid port number (COM0)");
    }
    EXPECT_THROW(link.Open(-2), SerialError);
    port.failOpen = true;
    try {
        link.Open(12);
        FAIL();
    } catch (const SerialError& e) {
        EXPECT_STREQ(e.what(), "Can't open device COM12");
    }
    EXPECT_FALSE(link.isOpen());
}

TEST_F(ModemLinkTest, ClosedLinkSendsAndReadsNothing) {
    link.Send("");
    EXPECT_TRUE(port.sent.empty());
    link.Close();
    link.Send("AT+V22\r");
    EXPECT_TRUE(port.sent.empty());
    EXPECT_EQ(link.ReadAvailable(), "");
}

TEST_F(ModemLinkTest, SilentModemGivesUpAfterFiftyPolls) {
    const auto start = clock.tickMs();
    EXPECT_EQ(link.CollectReply(50, 24), "");
    EXPECT_EQ(clock.tickMs() - start, 5000);
}

TEST_F(ModemLinkTest, WholeReplyCostsOnePoll) {
    const std::string reply = "\r\n1234560702050123\r\nOK\r\n";
    port.arrive(12, reply);
    const auto start = clock.tickMs();
    EXPECT_EQ(link.CollectReply(50, 24), reply);
    EXPECT_EQ(clock.tickMs() - start, 100);
}

TEST_F(ModemLinkTest, ExtraCharactersInTheSamePollAreKept) {
    port.arrive(30, std::string(30, 'A'));
    EXPECT_EQ(link.CollectReply(50, 24).size(), 30u);
}

TEST_F(ModemLinkTest, ReplySplitAcrossPollsIsJoined) {
    port.arrive(50, "\r\n12345607");
    port.arrive(150, "02050123\r\nOK\r\n");
    const auto start = clock.tickMs();
    EXPECT_EQ(link.CollectReply(50, 24).size(), 24u);
    EXPECT_EQ(clock.tickMs() - start, 200);
}

TEST_F(ModemLinkTest, WaitForOkFindsOkInItsOwnPoll) {
    port.arrive(50, "\r\n");
    port.arrive(150, "OK\r\n");
    const auto start = clock.tickMs();
    EXPECT_TRUE(link.WaitForOK(50));
    EXPECT_EQ(clock.tickMs() - start, 200);
}

TEST_F(ModemLinkTest, WaitForOkDoesNotJoinPolls) {
    port.arrive(50, "\r\nO");
    port.arrive(150, "K\r\n");
    const auto start = clock.tickMs();
    EXPECT_FALSE(link.WaitForOK(50));
    EXPECT_EQ(clock.tickMs() - start, 5000);
}

TEST_F(ModemLinkTest, PumpDelayOfZeroStillProcessesEvents) {
    bool ran = false;
    clock.startTimer(0, [&] { ran = true; });
    const int passes = clock.passes();
    link.PumpDelay(0);
    EXPECT_TRUE(ran);
    EXPECT_GT(clock.passes(), passes);
    EXPECT_EQ(clock.tickMs(), 0);
}

TEST_F(ModemLinkTest, PumpDelayRunsEventsOnTheWayAndWaitsItsWholeTime) {
    int ran = 0;
    clock.startTimer(30, [&] { ++ran; });
    clock.startTimer(70, [&] { ++ran; });
    clock.startTimer(130, [&] { ++ran; });
    link.PumpDelay(100);
    EXPECT_EQ(ran, 2);
    EXPECT_EQ(clock.tickMs(), 100);
}

TEST_F(ModemLinkTest, OpeningShowsTheBusyCursorAndClearsItOnFailure) {
    std::vector<bool> states;
    link.onBusy = [&](bool busy) { states.push_back(busy); };
    port.failOpen = true;
    EXPECT_THROW(link.Open(4), SerialError);
    EXPECT_EQ(states, (std::vector<bool>{true, false}));
}

}  // namespace
}  // namespace zelar
