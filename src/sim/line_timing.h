#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zelar::sim {

// Microseconds that `bytes` take on an asynchronous line: 10 bits each (start, 8 data, stop),
// rounded up so that a byte is never readable before its stop bit has passed.
inline std::int64_t lineTimeUs(std::int64_t bytes, int baud) {
    const std::int64_t rate = baud > 0 ? baud : 1;
    return (bytes * 10 * 1'000'000 + rate - 1) / rate;
}

// Bytes sent back to back from `startUs`: byte i (from 0) is complete at
// startUs + lineTimeUs(i + 1, baud).
struct OutputChunk {
    std::int64_t startUs = 0;
    int baud = 115200;
    std::string_view::size_type size() const { return bytes.size(); }
    std::int64_t byteDoneUs(std::size_t index) const {
        return startUs + lineTimeUs(static_cast<std::int64_t>(index) + 1, baud);
    }
    std::int64_t endUs() const { return byteDoneUs(bytes.size() - 1); }
    std::string bytes;
};

}  // namespace zelar::sim
