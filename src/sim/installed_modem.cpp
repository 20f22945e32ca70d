#include "sim/installed_modem.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

#include "text/cp1251.h"

namespace zelar::sim {

namespace {

class Writer {
  public:
    explicit Writer(ModemStore& store) : memory_(store.settings) {}

    void byte(std::size_t address, std::uint8_t value) { memory_[address] = value; }
    void u16le(std::size_t address, unsigned value) {
        byte(address, static_cast<std::uint8_t>(value & 0xFF));
        byte(address + 1, static_cast<std::uint8_t>(value >> 8));
    }
    // A settings text, padded on the right with `pad` to its field width.
    void text(std::size_t address, std::size_t width, std::string_view value, char pad = ' ') {
        for (std::size_t i = 0; i < width; ++i)
            memory_[address + i] = static_cast<std::uint8_t>(i < value.size() ? value[i] : pad);
    }

  private:
    std::array<std::uint8_t, kSettingsSize>& memory_;
};

struct User {
    std::string_view phone;
    std::uint8_t role;
    std::uint8_t messageType;
    std::string_view password;
    std::uint8_t options;
    unsigned classes;
    std::uint8_t testHours;
    unsigned objectOffset;
};

constexpr User kUsers[6] = {
    {"+79161234567", 0, 0, "1234", 0x33, 0x3F, 24, 0},
    {"+79031112233", 1, 0, "5678", 0x86, 0x1F, 0, 0},
    {"89261234567", 2, 1, "0000", 0x01, 0x07, 12, 100},
    {"+79165550000", 2, 3, "4321", 0x01, 0x01, 0, 0},
    {"", 2, 0, "1111", 0x00, 0x00, 0, 0},
    {"", 1, 0, "2222", 0x00, 0x00, 0, 0},
};

void writeUsers(Writer& w) {
    for (std::size_t n = 0; n < 6; ++n) {
        const User& u = kUsers[n];
        const std::size_t base = 0x0008 + 24 * n;
        w.text(base, 12, u.phone);
        w.byte(base + 12, u.role);
        w.byte(base + 13, u.messageType);
        w.text(base + 14, 4, u.password);
        w.byte(base + 18, u.options);
        w.u16le(base + 19, u.classes);
        w.byte(base + 21, u.testHours);
        w.u16le(base + 22, u.objectOffset);
    }
}

void writeSim(Writer& w, std::size_t base, std::uint8_t flags, std::string_view pin,
              std::string_view puk, std::string_view ussd, std::uint8_t threshold) {
    w.byte(base, flags);
    w.text(base + 1, 4, pin);
    w.text(base + 5, 8, puk);
    w.text(base + 13, 12, "0000");
    w.text(base + 25, 3, ussd);
    w.byte(base + 28, threshold);
    w.text(base + 29, 3, "", '\0');
}

void writeServer(Writer& w, std::size_t base, std::uint8_t flags, std::string_view ip,
                 std::string_view port, std::string_view name) {
    w.byte(base, flags);
    w.text(base + 1, 15, ip);
    w.text(base + 16, 4, port);
    w.text(base + 20, 24, name);
}

// Codes 0 to 767, eight 32-byte records per page from page 1: the text, zero bytes up to byte
// 30, and the message type in byte 31.
void writeDictionary(ModemStore& store) {
    for (unsigned code = 0; code < 768; ++code) {
        const std::string text = utf8ToCp1251("Событие " + std::to_string(code));
        const std::size_t at = (1 + code / 8) * kPageSize + (code % 8) * 32;
        std::fill_n(store.flash.begin() + static_cast<std::ptrdiff_t>(at), 32, 0);
        std::copy(text.begin(), text.end(), store.flash.begin() + static_cast<std::ptrdiff_t>(at));
        store.flash[at + 31] = static_cast<std::uint8_t>(code % 4);
    }
}

void writeSimCards(Writer& w) {
    writeSim(w, 0x0098, 0x0D, "4951", "12345678", "100", 50);
    writeSim(w, 0x00B8, 0x08, "0000", "87654321", "102", 30);
    w.text(0x00D8, 24, "internet.mts.ru");
    w.text(0x00F0, 24, "mts");
    w.text(0x0108, 24, "mts");
    w.text(0x0120, 16, "8.8.8.8");
    w.text(0x0130, 16, "77.88.8.8");
    w.text(0x0140, 24, "internet.beeline.ru");
    w.text(0x0158, 24, "beeline");
    w.text(0x0170, 24, "beeline");
}

void writeObject(Writer& w) {
    w.byte(0x01A8, 0x00);
    w.text(0x01A9, 15, utf8ToCp1251("Склад_Север"));
    w.text(0x01B8, 8, "z2pass");
    writeServer(w, 0x01C0, 0x00, "195.98.64.10", "8080", "pult.example.ru");
    writeServer(w, 0x01EC, 0x03, "195.98.64.11", "8081", "reserve.example.ru");
}

void writeModemParameters(Writer& w) {
    w.byte(0x0218, 0x01);  // SIM 1 parameters detected automatically
    w.byte(0x0219, 0x00);  // link test period 60 s, high byte first
    w.byte(0x021A, 0x3C);
    w.byte(0x021C, installed::kMainSystem);
    w.u16le(0x021D, installed::kMainObjectShown - 1);
    w.byte(0x021F, installed::kProtocolCode);
    w.byte(0x0220, 0x02);  // "Оконечное устройство"
    // Serial number 7204518: six digits packed two per byte, then the leading part.
    w.byte(0x0221, 0x20);
    w.byte(0x0222, 0x45);
    w.byte(0x0223, 0x18);
    w.byte(0x0224, 7);
}

void writeVoiceCall(Writer& w) {
    w.byte(0x0225, 8);   // microphone
    w.byte(0x0226, 60);  // speaker
    w.text(0x0227, 12, "+79161234567");
    w.text(0x0233, 12, "+79031112233");
    w.text(0x023F, 12, "");
    w.text(0x024B, 12, "");
    w.text(0x0257, 12, "");
    w.byte(0x0263, 1);

    w.byte(0x0264, 1);
    w.text(0x0265, 12, "+79161234567", '\0');
    w.text(0x0271, 12, "89031112233", '\0');
    w.text(0x027D, 12, "", '\0');
}

}  // namespace

ModemStore installedModem(const std::string& firmwareVersion) {
    ModemStore store;
    store.firmwareVersion = firmwareVersion;
    store.settings.fill(0xFF);
    store.pageBuffer.fill(0xFF);

    Writer w(store);
    w.text(0x0000, 5, "", '\0');
    w.byte(0x0005, 0x01);  // GPRS on, permanent connection
    w.byte(0x0006, 0x00);
    w.byte(0x0007, 0x00);
    writeUsers(w);

    writeSimCards(w);
    writeObject(w);
    writeModemParameters(w);
    writeVoiceCall(w);

    w.text(0x07F0, 15, installed::kImei);

    writeDictionary(store);
    putVersionMark(store.program, 0x0100, firmwareVersion);
    return store;
}

}  // namespace zelar::sim
