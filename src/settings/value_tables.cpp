#include "settings/value_tables.h"

namespace zelar {

namespace {

template <class Array>
bool inList(const Array& list, int index) {
    return index >= 0 && static_cast<std::size_t>(index) < list.size();
}

constexpr std::array<std::uint8_t, 3> kProtocolCodes = {4, 6, 7};
constexpr std::uint8_t kLastMessageTypeCode = 3;

}  // namespace

std::optional<int> linkTestPeriodIndex(std::uint16_t seconds) {
    for (std::size_t i = 0; i < kLinkTestPeriods.size(); ++i) {
        if (kLinkTestPeriods[i].seconds == seconds)
            return static_cast<int>(i);
    }
    return std::nullopt;
}

std::optional<std::uint16_t> linkTestPeriodSeconds(int index) {
    if (!inList(kLinkTestPeriods, index))
        return std::nullopt;
    return kLinkTestPeriods[static_cast<std::size_t>(index)].seconds;
}

std::optional<int> userStatusIndex(std::uint8_t status) {
    if (!inList(kUserStatusNames, status))
        return std::nullopt;
    return status;
}

int messageTypeIndex(std::uint8_t messageType) {
    return messageType >= 2 ? 2 : messageType;
}

std::optional<std::uint8_t> messageTypeCode(int index) {
    if (!inList(kMessageTypeNames, index))
        return std::nullopt;
    return index == 2 ? kLastMessageTypeCode : static_cast<std::uint8_t>(index);
}

std::optional<int> protocolIndex(std::uint8_t code) {
    for (std::size_t i = 0; i < kProtocolCodes.size(); ++i) {
        if (kProtocolCodes[i] == code)
            return static_cast<int>(i);
    }
    return std::nullopt;
}

std::optional<std::uint8_t> protocolCode(int index) {
    if (!inList(kProtocolCodes, index))
        return std::nullopt;
    return kProtocolCodes[static_cast<std::size_t>(index)];
}

std::optional<int> shownObjectNumber(std::uint16_t storedObjectMinus1) {
    if (storedObjectMinus1 >= kObjectNotSetLimit)
        return std::nullopt;
    return storedObjectMinus1 + 1;
}

int modemTypeIndex(std::uint8_t modemType) {
    if (modemType == 0 || modemType > 1)
        return 0;
    return -1;
}

}  // namespace zelar
