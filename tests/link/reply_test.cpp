#include "link/reply.h"

#include <gtest/gtest.h>

namespace zelar {
namespace {

std::string frame(const std::string& payload) {
    return "\r\n" + payload + "\r\nOK\r\n";
}

TEST(Reply, EightByteReadIsExactlyTwentyFourCharacters) {
    const std::string good = frame("0102030405060708");
    ASSERT_EQ(good.size(), 24u);
    EXPECT_TRUE(checkFrame(good, 8));
    EXPECT_FALSE(checkFrame(good.substr(0, 23), 8));
    EXPECT_FALSE(checkFrame(good + "X", 8));
    EXPECT_FALSE(checkShortReply(good.substr(1), 8, false));
}

TEST(Reply, FrameNeedsBothEnds) {
    std::string noLead = frame("00");
    noLead[0] = 'X';
    EXPECT_FALSE(checkFrame(noLead, 1));
    std::string noOk = frame("00");
    noOk[6] = 'X';
    EXPECT_FALSE(checkFrame(noOk, 1));
    EXPECT_TRUE(checkFrame(frame("00"), 1));
}

TEST(Reply, LongReadsAndShortReads) {
    EXPECT_EQ(dataReplyLength(63), 134u);
    EXPECT_EQ(dataReplyLength(1), 10u);
    EXPECT_TRUE(checkFrame(frame(std::string(126, 'A')), 63));

    const std::string oneByte = frame("4D");
    EXPECT_EQ(*payloadText(oneByte, 1, 2), "4D");
    // Right length without "OK" fails a short read that wants it; "OK" with a wrong length fails.
    const std::string noOk = "\r\n0E10\r\nXX\r\n";
    EXPECT_FALSE(checkShortReply(noOk, 2, true));
    EXPECT_TRUE(checkShortReply(noOk, 2, false));
    EXPECT_FALSE(checkShortReply(frame("0E1"), 2, true));
    EXPECT_TRUE(containsOK("\r\nOK\r\n"));
    EXPECT_EQ(std::string("\r\nOK\r\n").size(), kAckReplyLength);
}

// A reply is complete, and the fast exchange stops waiting for it, only when "OK" CR LF ends
// it: bytes still on the way would open the next command's reply.
TEST(Reply, CompleteReplies) {
    const struct {
        std::string received;
        std::size_t length;  // of a data reply
        bool ack;
        bool frame;
    } rows[] = {
        {"\r\nOK\r\n", 6, true, true},
        {frame("4D"), 10, true, true},
        {frame("4D"), 12, true, false},
        {"\r\nOK", 4, false, false},
        {"\r\nOK\r\n\r\nRING\r\n", 14, false, false},
        {"", 0, false, false},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.received);
        EXPECT_EQ(isCompleteAck(r.received), r.ack);
        EXPECT_EQ(isCompleteFrame(r.received, r.length), r.frame);
    }
}

TEST(Reply, PayloadDecoding) {
    const auto bytes = decodePayload(frame("00FF7A10"), 4);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(*bytes, (std::vector<std::uint8_t>{0x00, 0xFF, 0x7A, 0x10}));
    // Lower case, blanks and other bytes are not hex digits: no data is made up from them.
    EXPECT_FALSE(decodePayload(frame("00ff"), 2));
    EXPECT_FALSE(decodePayload(frame("0G"), 1));
    EXPECT_FALSE(decodePayload(frame(std::string("\x00\xFF", 2)), 1));
    EXPECT_FALSE(decodePayload("\r\n0", 1));
    EXPECT_FALSE(payloadText("", 1, 1));
    EXPECT_FALSE(payloadText("\r\n12", 0, 1));
}

}  // namespace
}  // namespace zelar
