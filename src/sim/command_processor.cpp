#include "sim/command_processor.h"

#include <algorithm>
#include <bit>
#include <optional>

#include "sim/sim_hex.h"

namespace zelar::sim {

namespace {

// The first firmware that knows the restart command.
constexpr int kRestartFirmware = 205;

CommandOutcome refused(int command) {
    CommandOutcome out;
    out.command = command;
    out.reply = std::string(kRefusedReply);
    return out;
}

CommandOutcome acknowledged(int command) {
    CommandOutcome out;
    out.command = command;
    out.reply = std::string(kOkReply);
    return out;
}

CommandOutcome withData(int command, const std::string& payload) {
    CommandOutcome out;
    out.command = command;
    out.reply = "\r\n" + payload + std::string(kOkReply);
    out.payloadSize = payload.size();
    return out;
}

// Four hex digits of address (or offset) and four of length, checked against a memory size.
struct Span {
    unsigned start = 0;
    unsigned length = 0;
};

std::optional<Span> parseSpan(std::string_view fields, std::size_t memorySize) {
    if (fields.size() < 8)
        return std::nullopt;
    const auto start = hexfield::number(fields.substr(0, 4));
    const auto length = hexfield::number(fields.substr(4, 4));
    if (!start || !length || *start + *length > memorySize)
        return std::nullopt;
    return Span{*start, *length};
}

std::optional<unsigned> parsePage(std::string_view fields) {
    if (fields.size() != 4)
        return std::nullopt;
    const auto page = hexfield::number(fields);
    if (!page || *page >= kFlashPages)
        return std::nullopt;
    return page;
}

template <typename Memory>
CommandOutcome writeSpan(int command, Memory& memory, std::string_view fields) {
    const auto span = parseSpan(fields, memory.size());
    if (!span)
        return refused(command);
    const auto data = hexfield::bytes(fields.substr(8));
    if (!data || data->size() != span->length)
        return refused(command);
    std::copy(data->begin(), data->end(), memory.begin() + span->start);
    CommandOutcome out = acknowledged(command);
    out.changed = true;
    return out;
}

template <typename Memory>
CommandOutcome readSpan(int command, const Memory& memory, std::string_view fields) {
    const auto span = parseSpan(fields, memory.size());
    if (!span || fields.size() != 8)
        return refused(command);
    return withData(command, hexfield::bytesText(memory.data() + span->start, span->length));
}

CommandOutcome identification(const ModemStore& store) {
    const auto& m = store.settings;
    std::string payload = hexfield::bytesText(m.data() + 0x0221, 4);
    payload += store.firmwareVersion;
    payload += '0';
    payload += store.bootLoaderVersion;
    return withData(22, payload);
}

CommandOutcome balance(const Diagnostics& d) {
    const auto bits = std::bit_cast<std::uint32_t>(d.balance);
    std::string payload = hexfield::byteText(d.currentSim) + hexfield::byteText(d.simStatus);
    for (int i = 0; i < 4; ++i)
        payload += hexfield::byteText(static_cast<std::uint8_t>(bits >> (8 * i)));
    return withData(24, payload);
}

CommandOutcome faults(const Diagnostics& d) {
    std::string payload = hexfield::byteText(static_cast<std::uint8_t>(d.faultFlags & 0xFF)) +
                          hexfield::byteText(static_cast<std::uint8_t>(d.faultFlags >> 8)) +
                          hexfield::byteText(d.signalLevel);
    payload += d.pinError ? '1' : '0';
    return withData(25, payload);
}

// System (3 decimal digits, 0..255), object as shown (4 digits), protocol code (1 digit).
CommandOutcome mainObject(ModemStore& store, std::string_view fields) {
    if (fields.size() != 8)
        return refused(40);
    const auto system = hexfield::decimal(fields.substr(0, 3));
    const auto object = hexfield::decimal(fields.substr(3, 4));
    const auto protocol = hexfield::decimal(fields.substr(7, 1));
    if (!system || !object || !protocol || *system > 0xFF)
        return refused(40);
    const unsigned stored = (*object + 0xFFFF) & 0xFFFF;  // shown minus one, 0 wraps to "not set"
    store.settings[0x021C] = static_cast<std::uint8_t>(*system);
    store.settings[0x021D] = static_cast<std::uint8_t>(stored & 0xFF);
    store.settings[0x021E] = static_cast<std::uint8_t>(stored >> 8);
    store.settings[0x021F] = static_cast<std::uint8_t>(*protocol);
    CommandOutcome out = acknowledged(40);
    out.changed = true;
    return out;
}

CommandOutcome storePage(ModemStore& store, std::string_view fields) {
    const auto page = parsePage(fields);
    if (!page)
        return refused(20);
    std::copy(store.pageBuffer.begin(), store.pageBuffer.end(),
              store.flash.begin() + static_cast<std::ptrdiff_t>(*page * kPageSize));
    CommandOutcome out = acknowledged(20);
    out.slow = true;
    out.changed = true;
    return out;
}

CommandOutcome loadPage(ModemStore& store, std::string_view fields) {
    const auto page = parsePage(fields);
    if (!page)
        return refused(21);
    const auto from = store.flash.begin() + static_cast<std::ptrdiff_t>(*page * kPageSize);
    std::copy(from, from + kPageSize, store.pageBuffer.begin());
    CommandOutcome out = acknowledged(21);
    out.slow = true;
    out.changed = true;
    return out;
}

}  // namespace

int firmwareNumber(const ModemStore& store) {
    if (store.firmwareVersion.size() != 4)
        return 0;
    return static_cast<int>(hexfield::decimal(store.firmwareVersion).value_or(0));
}

CommandOutcome runCommand(ModemStore& store, const Diagnostics& diagnostics,
                          std::string_view line) {
    if (line.empty())
        return {};
    if (line == "AT")
        return acknowledged(-1);
    if (line.size() < 6 || line.substr(0, 4) != "AT+V")
        return refused(-1);
    const auto number = hexfield::decimal(line.substr(4, 2));
    if (!number)
        return refused(-1);
    const int command = static_cast<int>(*number);
    const std::string_view fields = line.substr(6);
    const bool bare = fields.empty();

    switch (command) {
        case 16:
            return writeSpan(16, store.settings, fields);
        case 17:
            return readSpan(17, store.settings, fields);
        case 18:
            return writeSpan(18, store.pageBuffer, fields);
        case 19:
            return readSpan(19, store.pageBuffer, fields);
        case 20:
            return storePage(store, fields);
        case 21:
            return loadPage(store, fields);
        case 22:
            return bare ? identification(store) : refused(22);
        case 23:
            return bare ? acknowledged(23) : refused(23);
        case 24:
            return bare ? balance(diagnostics) : refused(24);
        case 25:
            return bare ? faults(diagnostics) : refused(25);
        case 39: {
            if (!bare || firmwareNumber(store) < kRestartFirmware)
                return refused(39);
            CommandOutcome out = acknowledged(39);
            out.restart = true;
            return out;
        }
        case 40:
            return mainObject(store, fields);
        default:
            return refused(command);
    }
}

}  // namespace zelar::sim
