#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "settings/memory_map.h"

namespace zelar {

// The regions below are not kept in the settings image: the read puts them straight into
// their screen fields and a write takes them from there. Each decoder refuses a payload
// shorter than its block.

// 0x0218: automatic detection of each SIM's parameters.
struct AutoDetectFlags {
    bool sim1 = false;
    bool sim2 = false;
};

// 0x0220: what the modem works as.
enum class OperatingMode : std::uint8_t {
    Terminal = 1,   // "Терминал"
    EndDevice = 2,  // "Оконечное устройство"
};

inline constexpr int kOutgoingNumberCount = 5;
inline constexpr int kAllowedNumberCount = 3;

// 0x0225: voice call settings.
struct VoiceCallBlock {
    std::uint8_t microphone = 0;
    std::uint8_t speaker = 0;
    std::array<std::string, kOutgoingNumberCount> numbers;
    bool outgoingAllowed = false;
};

// 0x0264: incoming call settings. Numbers keep any spaces they were stored with.
struct IncomingCallBlock {
    bool incomingAllowed = false;
    std::array<std::string, kAllowedNumberCount> numbers;
};

std::optional<AutoDetectFlags> decodeAutoDetect(std::span<const std::uint8_t> payload);
std::vector<std::uint8_t> encodeAutoDetect(const AutoDetectFlags& flags);
RegionWrite ComposeRegionWrite(const AutoDetectFlags& flags);

std::optional<OperatingMode> decodeOperatingMode(std::span<const std::uint8_t> payload);
std::vector<std::uint8_t> encodeOperatingMode(OperatingMode mode);
RegionWrite ComposeRegionWrite(OperatingMode mode);

std::optional<VoiceCallBlock> decodeVoiceCall(std::span<const std::uint8_t> payload);
// Nothing when a number does not fit its 12 bytes.
std::optional<std::vector<std::uint8_t>> encodeVoiceCall(const VoiceCallBlock& block);
std::optional<RegionWrite> ComposeRegionWrite(const VoiceCallBlock& block);

std::optional<IncomingCallBlock> decodeIncomingCall(std::span<const std::uint8_t> payload);
// Nothing when a number does not fit its 12 bytes.
std::optional<std::vector<std::uint8_t>> encodeIncomingCall(const IncomingCallBlock& block);
std::optional<RegionWrite> ComposeRegionWrite(const IncomingCallBlock& block);

// The 15 IMEI characters from the 0x07F0 block, up to the first NUL.
std::optional<std::string> decodeImei(std::span<const std::uint8_t> payload);

}  // namespace zelar
