#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace zelar {

// Stored values and the list entries that show them. Entry texts are shown to the letter,
// spacing included.

struct LinkTestPeriodEntry {
    std::uint16_t seconds;
    std::string_view text;
};

inline constexpr std::array<LinkTestPeriodEntry, 9> kLinkTestPeriods = {{
    {10, " 10 сек."},
    {30, " 30 сек."},
    {60, " 1  мин."},
    {120, " 2  мин."},
    {600, " 10 мин."},
    {1800, " 30 мин."},
    {3600, " 1  час"},
    {14400, " 4  часа"},
    {0, "  Выкл."},
}};

// The list index of a stored period; nothing when no entry has that many seconds.
std::optional<int> linkTestPeriodIndex(std::uint16_t seconds);
// The seconds of a list index; nothing for an index outside the list.
std::optional<std::uint16_t> linkTestPeriodSeconds(int index);

inline constexpr std::array<std::string_view, 3> kUserStatusNames = {"Мастер", "Хозяин",
                                                                     "Охранник"};
// The entry of a stored status; nothing above 2.
std::optional<int> userStatusIndex(std::uint8_t status);

inline constexpr std::array<std::string_view, 3> kMessageTypeNames = {
    "SMS сообщение", "SMS для АРМ", "Дозвон до пользователя"};
// Any stored type of 2 or more shows the last entry.
int messageTypeIndex(std::uint8_t messageType);
// The last entry is stored as 3; nothing for an index outside the list.
std::optional<std::uint8_t> messageTypeCode(int index);

inline constexpr std::string_view kNotSetText = "-?-";
inline constexpr std::array<std::string_view, 4> kProtocolNames = {"RRD", "RPI", "RPI+",
                                                                   kNotSetText};
// The entry of a protocol code (4, 6, 7); nothing for any other code.
std::optional<int> protocolIndex(std::uint8_t code);
// The code of the first three entries; nothing for "-?-" or outside the list.
std::optional<std::uint8_t> protocolCode(int index);

// Stored object values from here up mean that the object is not set.
inline constexpr std::uint16_t kObjectNotSetLimit = 2048;
// The object number shown for a stored value (value + 1); nothing when not set.
std::optional<int> shownObjectNumber(std::uint16_t storedObjectMinus1);

inline constexpr std::array<std::string_view, 1> kModemTypeNames = {"GSM/GPRS модем Зелар-2"};
// The list index a stored modem type selects: 0 and 1 are taken as the index, anything else
// as 0. The list has one entry, so 1 selects nothing, given as -1.
int modemTypeIndex(std::uint8_t modemType);

inline constexpr std::array<std::string_view, 2> kOperatingModeNames = {"Терминал",
                                                                        "Оконечное устройство"};

}  // namespace zelar
