#include <gtest/gtest.h>

#include <random>

#include "sim/modem_exchange.h"

// Whatever arrives on the line, the modem neither crashes nor answers outside its frames.
namespace zelar::sim {
namespace {

std::string randomText(std::mt19937& rng, std::size_t size, bool protocolLike) {
    static const std::string alphabet = "AT+V0123456789ABCDEFabcdef\r\nW!";
    std::string text;
    for (std::size_t i = 0; i < size; ++i) {
        if (protocolLike)
            text += alphabet[rng() % alphabet.size()];
        else
            text += static_cast<char>(rng() & 0xFF);
    }
    return text;
}

bool wellFormed(const std::string& reply) {
    if (reply.empty() || reply == "\r\nERROR\r\n")
        return true;
    return reply.size() >= 6 && reply.substr(0, 2) == "\r\n" &&
           reply.substr(reply.size() - 6) == "\r\nOK\r\n";
}

TEST(AnyBytes, FirmwareAnswersOnlyInFrames) {
    std::mt19937 rng(12345);
    ModemOptions options;
    options.timing.restartUs = 1'000;
    options.timing.bootWindowUs = 1'000;
    test::ModemExchange m(options);
    for (int round = 0; round < 3000; ++round) {
        std::string bytes = randomText(rng, 1 + rng() % 40, round % 2 == 0);
        // One line at a time, so that every reply can be judged on its own.
        std::erase(bytes, '\r');
        const std::string reply = m.send(bytes + "\r");
        EXPECT_TRUE(wellFormed(reply)) << printable(bytes) << " -> " << printable(reply);
        m.wait(5'000);
    }
}

TEST(AnyBytes, BootLoaderTakesNoiseWithoutHarm) {
    std::mt19937 rng(777);
    ModemOptions options;
    options.timing.restartUs = 1'000;
    options.timing.bootWindowUs = 10'000'000;
    test::ModemExchange m(options);
    ASSERT_EQ(m.send("AT+V39\r"), "\r\nOK\r\n");
    m.setLine(kBootLoaderBaud);
    ASSERT_EQ(m.wait(1'000), "!");
    for (int round = 0; round < 500; ++round) {
        const std::string reply = m.send(randomText(rng, rng() % 600, false));
        for (char c : reply)
            EXPECT_TRUE(c == kBlockAccepted || c == kBlockRejected);
    }
}

}  // namespace
}  // namespace zelar::sim
