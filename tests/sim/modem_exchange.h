#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "sim/installed_modem.h"
#include "sim/sim_modem.h"

namespace zelar::sim::test {

// Drives a SimModem directly: sends bytes at the current time and gathers everything it sends
// back, moving time past the last byte.
class ModemExchange {
  public:
    explicit ModemExchange(ModemOptions options = {}, std::string firmware = "0205")
        : modem(installedModem(firmware), std::move(options)) {}

    std::string send(std::string_view bytes) {
        modem.receive(bytes, nowUs);
        return drain();
    }
    // Lets time pass and returns what came out meanwhile.
    std::string wait(std::int64_t us) {
        nowUs += us;
        modem.advanceTo(nowUs);
        return drain();
    }
    std::string drain() {
        std::string out;
        for (const OutputChunk& chunk : modem.takeOutput()) {
            out += chunk.bytes;
            lastEndUs = chunk.endUs();
            nowUs = std::max(nowUs, lastEndUs);
        }
        return out;
    }
    void setLine(int baud) { modem.setLine(true, baud, nowUs); }

    SimModem modem;
    std::int64_t nowUs = 0;
    std::int64_t lastEndUs = 0;
};

// A boot loader block for `page` with the right checksum, or with `checksumError` added to it.
inline std::string bootBlock(int page, std::uint8_t fill, int checksumError = 0) {
    std::string block;
    block += 'W';
    block += static_cast<char>(page & 0xFF);
    block += static_cast<char>(page >> 8);
    block += std::string(256, static_cast<char>(fill));
    unsigned sum = 0;
    for (char c : block)
        sum += static_cast<unsigned char>(c);
    block += static_cast<char>((0x100 - (sum & 0xFF) + checksumError) & 0xFF);
    return block;
}

}  // namespace zelar::sim::test
