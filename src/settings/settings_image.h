#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace zelar {

// The modem never gives its PUK back, so the image always carries this one and it is the one
// written.
inline constexpr std::string_view kDefaultPuk = "62840517";

inline constexpr int kUserCount = 6;
inline constexpr int kSimCount = 2;
inline constexpr int kServerCount = 2;

// One user (recipient) of the modem, 24 bytes in the settings memory.
struct UserRecord {
    std::string phone;
    std::uint8_t status = 0;
    std::uint8_t messageType = 0;
    std::string password;
    std::uint8_t options = 0;
    std::uint16_t messageClasses = 0;
    std::uint8_t testPeriodHours = 0;
    std::uint16_t objectOffset = 0;
};

// One SIM card: its 32-byte record plus its three access point texts, kept elsewhere in memory.
struct SimRecord {
    std::uint8_t flags = 0;
    std::string pin;
    std::string puk{kDefaultPuk};
    std::string phone;
    std::string ussd;
    std::uint8_t balanceThreshold = 0;
    std::string apnName;
    std::string apnLogin;
    std::string apnPassword;
};

// One GPRS server, 44 bytes in the settings memory.
struct ServerRecord {
    std::uint8_t flags = 0;
    std::string ip;
    std::string port;
    std::string dnsName;
};

// The decoded copy of the modem's settings memory. Texts are UTF-8; numbers are as stored.
// Instances are held from index 0: user n, SIM k and server k sit at n - 1 and k - 1.
struct TSettingsImage {
    std::array<UserRecord, kUserCount> users;
    std::uint8_t modemFlags = 0;
    std::uint8_t modemType = 0;
    std::array<SimRecord, kSimCount> sims;
    std::string dns1;
    std::string dns2;
    std::string gprsAuthName;
    std::string gprsAuthPassword;
    std::uint16_t linkTestPeriod = 0;
    std::array<ServerRecord, kServerCount> servers;
    std::uint8_t mainSystem = 0;
    std::uint16_t mainObjectMinus1 = 0;
    std::uint8_t protocol = 0;
    // Compared with whole numbers only; 0 until an identification has been read.
    double firmwareVersion = 0;
};

}  // namespace zelar
