#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace zelar {

// A run of settings memory: where it starts and how many bytes it holds.
struct MemoryBlock {
    std::uint16_t address = 0;
    std::uint16_t length = 0;

    constexpr std::uint32_t end() const { return std::uint32_t{address} + length; }
    friend constexpr bool operator==(const MemoryBlock&, const MemoryBlock&) = default;
};

// The write of one region: the V16 command's address and data.
struct RegionWrite {
    std::uint16_t address = 0;
    std::vector<std::uint8_t> data;
};

// Where things sit in the settings memory.
namespace memory_address {
inline constexpr std::uint16_t kModemFlags = 0x0005;
inline constexpr std::uint16_t kModemType = 0x0006;
inline constexpr std::uint16_t kUserBase = 0x0008;
inline constexpr std::uint16_t kUserLength = 24;
inline constexpr std::uint16_t kSimBase[] = {0x0098, 0x00B8};
inline constexpr std::uint16_t kSimLength = 32;
// Access point name, login and password follow one another, 24 bytes each.
inline constexpr std::uint16_t kApnBase[] = {0x00D8, 0x0140};
inline constexpr std::uint16_t kApnTextLength = 24;
inline constexpr std::uint16_t kDns1 = 0x0120;
inline constexpr std::uint16_t kDns2 = 0x0130;
inline constexpr std::uint16_t kGprsAuthName = 0x01A9;
inline constexpr std::uint16_t kGprsAuthPassword = 0x01B8;
inline constexpr std::uint16_t kServerBase[] = {0x01C0, 0x01EC};
inline constexpr std::uint16_t kServerLength = 44;
inline constexpr std::uint16_t kAutoDetect = 0x0218;
inline constexpr std::uint16_t kLinkTestPeriod = 0x0219;
inline constexpr std::uint16_t kMainSystem = 0x021C;
inline constexpr std::uint16_t kMainObject = 0x021D;
inline constexpr std::uint16_t kProtocol = 0x021F;
inline constexpr std::uint16_t kOperatingMode = 0x0220;
inline constexpr std::uint16_t kSerialNumber = 0x0221;
inline constexpr std::uint16_t kVoiceCall = 0x0225;
inline constexpr std::uint16_t kIncomingCall = 0x0264;
inline constexpr std::uint16_t kImei = 0x07F0;
}  // namespace memory_address

// The regions written with one V16 command each. Regions with several instances take k:
// user 1..6, SIM 1..2, server 1 (main) or 2 (reserve).
enum class SettingsRegion {
    ModemFlags,
    UserRecord,
    SimRecord,
    SimUssd,
    SimThreshold,
    SimApn,
    SimApnLogin,
    SimApnPassword,
    DnsServers,
    GprsAuth,
    ServerRecord,
    AutoDetect,
    LinkTestPeriod,
    OperatingMode,
    SerialNumber,
    VoiceCall,
    IncomingCall,
};

// How many instances the region has (1 for the single ones).
int regionInstances(SettingsRegion region);
// The memory a region's write covers; nothing for an instance out of range.
std::optional<MemoryBlock> regionBlock(SettingsRegion region, int k = 1);
// Every region paired with every valid instance, in the order of the enumeration.
struct RegionInstance {
    SettingsRegion region;
    int k;
};
std::vector<RegionInstance> allRegionInstances();

// The blocks the read fetches with V17; nothing for an instance out of range.
namespace read_block {
inline constexpr MemoryBlock kModem{0x0000, 8};
inline constexpr MemoryBlock kDnsServers{memory_address::kDns1, 32};
inline constexpr MemoryBlock kGprsAuth{0x01A8, 24};
inline constexpr MemoryBlock kImei{memory_address::kImei, 16};
inline constexpr MemoryBlock kAutoDetect{memory_address::kAutoDetect, 1};
inline constexpr MemoryBlock kLinkTestPeriod{memory_address::kLinkTestPeriod, 2};
inline constexpr MemoryBlock kObject{memory_address::kMainSystem, 4};
inline constexpr MemoryBlock kOperatingMode{memory_address::kOperatingMode, 1};
inline constexpr MemoryBlock kSerialNumber{memory_address::kSerialNumber, 4};
inline constexpr MemoryBlock kVoiceCall{memory_address::kVoiceCall, 63};
inline constexpr MemoryBlock kIncomingCall{memory_address::kIncomingCall, 37};
std::optional<MemoryBlock> user(int n);
std::optional<MemoryBlock> sim(int k);
std::optional<MemoryBlock> simApn(int k);
std::optional<MemoryBlock> simApnLogin(int k);
std::optional<MemoryBlock> simApnPassword(int k);
std::optional<MemoryBlock> server(int k);
}  // namespace read_block

}  // namespace zelar
