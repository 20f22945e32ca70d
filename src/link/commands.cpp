#include "link/commands.h"

#include "text/hex.h"
#include "text/padding.h"

namespace zelar {

namespace {

std::string line(const char* number, const std::string& fields = {}) {
    return std::string("AT+V") + number + fields + '\r';
}

std::string hex4(unsigned value) {
    return toHex(value, 4);
}

}  // namespace

std::string commandV16(std::uint16_t address, const std::vector<std::uint8_t>& data) {
    return line("16", hex4(address) + hex4(static_cast<unsigned>(data.size())) + bytesToHex(data));
}

std::optional<WrittenBytes> parseCommandV16(std::string_view line) {
    constexpr std::string_view kHead = "AT+V16";
    if (!line.starts_with(kHead) || !line.ends_with('\r') || line.size() < kHead.size() + 9)
        return std::nullopt;
    const std::string_view fields = line.substr(kHead.size(), line.size() - kHead.size() - 1);
    const auto head = hexToBytes(fields.substr(0, 8));
    const auto data = hexToBytes(fields.substr(8));
    if (!head || !data || data->size() != (std::size_t{(*head)[2]} << 8 | (*head)[3]))
        return std::nullopt;
    return WrittenBytes{static_cast<std::uint16_t>((*head)[0] << 8 | (*head)[1]), *data};
}

std::string commandV17(std::uint16_t address, std::uint16_t length) {
    return line("17", hex4(address) + hex4(length));
}

std::string commandV18(std::uint16_t offset, const std::vector<std::uint8_t>& data) {
    return line("18", hex4(offset) + hex4(static_cast<unsigned>(data.size())) + bytesToHex(data));
}

std::string commandV19(std::uint16_t offset, std::uint16_t length) {
    return line("19", hex4(offset) + hex4(length));
}

std::string commandV20(std::uint16_t page) {
    return line("20", hex4(page));
}
std::string commandV21(std::uint16_t page) {
    return line("21", hex4(page));
}
std::string commandV22() {
    return line("22");
}
std::string commandV23() {
    return line("23");
}
std::string commandV24() {
    return line("24");
}
std::string commandV25() {
    return line("25");
}
std::string commandV39() {
    return line("39");
}

std::string commandV40(int system, int object, int protocol) {
    return line(
        "40", zeroPadDecimal(system, 3) + zeroPadDecimal(object, 4) + zeroPadDecimal(protocol, 1));
}

}  // namespace zelar
