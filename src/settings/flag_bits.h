#pragma once

#include <cstdint>

namespace zelar {

// Bit flags of the settings memory. Bits not named here are written as 0 and ignored when
// read.

namespace modem_flag {
inline constexpr std::uint8_t kGprs = 0x01;
// Set for a connection that is not kept up, and whenever GPRS is off.
inline constexpr std::uint8_t kNotPermanent = 0x02;
}  // namespace modem_flag

namespace user_option {
inline constexpr std::uint8_t kSmsAlways = 0x01;
inline constexpr std::uint8_t kObjectNumber = 0x02;
inline constexpr std::uint8_t kPriority = 0x04;
// Has no visible field; carried from read to write unchanged.
inline constexpr std::uint8_t kDial = 0x08;
inline constexpr std::uint8_t kTestMessage = 0x10;
inline constexpr std::uint8_t kSystemNumber = 0x20;
inline constexpr std::uint8_t kSmsIfNoGprs = 0x80;
}  // namespace user_option

// A user is on when either way of sending is chosen.
constexpr bool userIsOn(std::uint8_t options) {
    return (options & (user_option::kSmsAlways | user_option::kSmsIfNoGprs)) != 0;
}

namespace message_class {
inline constexpr std::uint16_t kAlarm = 0x0001;
inline constexpr std::uint16_t kFire = 0x0002;
inline constexpr std::uint16_t kFault = 0x0004;
inline constexpr std::uint16_t kPower = 0x0008;
inline constexpr std::uint16_t kGuard = 0x0010;
inline constexpr std::uint16_t kInformation = 0x0020;
}  // namespace message_class

namespace sim_flag {
inline constexpr std::uint8_t kPin = 0x01;
inline constexpr std::uint8_t kBalance = 0x04;
inline constexpr std::uint8_t kInstalled = 0x08;
}  // namespace sim_flag

namespace server_flag {
// Meaningful in the reserve server's record only.
inline constexpr std::uint8_t kUseReserve = 0x01;
inline constexpr std::uint8_t kByDnsName = 0x02;
}  // namespace server_flag

}  // namespace zelar
