#pragma once

#include <string>

#include "sim/modem_store.h"

namespace zelar::sim {

// Known facts about the modem that installedModem() builds; tests and the README rely on them.
namespace installed {
inline constexpr const char* kMasterPassword = "1234";  // user 1, "Мастер"
inline constexpr const char* kSerialNumber = "7204518";
inline constexpr const char* kImei = "356938035643809";
inline constexpr int kMainSystem = 5;
inline constexpr int kMainObjectShown = 1234;
inline constexpr int kProtocolCode = 6;  // RPI
}  // namespace installed

// A modem as an installer leaves it: six users, both SIMs, access points, servers, voice call
// numbers, the operating mode, a protocol-0 dictionary in flash, and a program image whose
// version mark matches `firmwareVersion` (four decimal digits).
ModemStore installedModem(const std::string& firmwareVersion = "0205");

}  // namespace zelar::sim
