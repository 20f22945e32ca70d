#include "settings/memory_map.h"

#include "settings/settings_image.h"

namespace zelar {

namespace {

using namespace memory_address;

// The SIM record's write leaves out the balance fields and the three unused bytes.
constexpr std::uint16_t kSimRecordWriteLength = 25;
constexpr std::uint16_t kSimUssdOffset = 25;
constexpr std::uint16_t kSimThresholdOffset = 28;

// Instance index from 0, or nothing when k is outside 1..count.
std::optional<int> instanceIndex(int k, int count) {
    if (k < 1 || k > count)
        return std::nullopt;
    return k - 1;
}

MemoryBlock userBlock(int index) {
    return {static_cast<std::uint16_t>(kUserBase + kUserLength * index), kUserLength};
}

MemoryBlock apnBlock(int index, int textNumber) {
    return {static_cast<std::uint16_t>(kApnBase[index] + kApnTextLength * textNumber),
            kApnTextLength};
}

}  // namespace

int regionInstances(SettingsRegion region) {
    switch (region) {
        case SettingsRegion::UserRecord:
            return kUserCount;
        case SettingsRegion::SimRecord:
        case SettingsRegion::SimUssd:
        case SettingsRegion::SimThreshold:
        case SettingsRegion::SimApn:
        case SettingsRegion::SimApnLogin:
        case SettingsRegion::SimApnPassword:
            return kSimCount;
        case SettingsRegion::ServerRecord:
            return kServerCount;
        default:
            return 1;
    }
}

std::optional<MemoryBlock> regionBlock(SettingsRegion region, int k) {
    const auto index = instanceIndex(k, regionInstances(region));
    if (!index)
        return std::nullopt;
    const int i = *index;
    switch (region) {
        case SettingsRegion::ModemFlags:
            return MemoryBlock{kModemFlags, 2};
        case SettingsRegion::UserRecord:
            return userBlock(i);
        case SettingsRegion::SimRecord:
            return MemoryBlock{kSimBase[i], kSimRecordWriteLength};
        case SettingsRegion::SimUssd:
            return MemoryBlock{static_cast<std::uint16_t>(kSimBase[i] + kSimUssdOffset), 3};
        case SettingsRegion::SimThreshold:
            return MemoryBlock{static_cast<std::uint16_t>(kSimBase[i] + kSimThresholdOffset), 1};
        case SettingsRegion::SimApn:
            return apnBlock(i, 0);
        case SettingsRegion::SimApnLogin:
            return apnBlock(i, 1);
        case SettingsRegion::SimApnPassword:
            return apnBlock(i, 2);
        case SettingsRegion::DnsServers:
            return read_block::kDnsServers;
        case SettingsRegion::GprsAuth:
            return MemoryBlock{kGprsAuthName, 23};
        case SettingsRegion::ServerRecord:
            return MemoryBlock{kServerBase[i], kServerLength};
        case SettingsRegion::AutoDetect:
            return read_block::kAutoDetect;
        case SettingsRegion::LinkTestPeriod:
            return read_block::kLinkTestPeriod;
        case SettingsRegion::OperatingMode:
            return read_block::kOperatingMode;
        case SettingsRegion::SerialNumber:
            return read_block::kSerialNumber;
        case SettingsRegion::VoiceCall:
            return read_block::kVoiceCall;
        case SettingsRegion::IncomingCall:
            return read_block::kIncomingCall;
    }
    return std::nullopt;
}

std::vector<RegionInstance> allRegionInstances() {
    std::vector<RegionInstance> out;
    for (int r = 0; r <= static_cast<int>(SettingsRegion::IncomingCall); ++r) {
        const auto region = static_cast<SettingsRegion>(r);
        for (int k = 1; k <= regionInstances(region); ++k)
            out.push_back({region, k});
    }
    return out;
}

namespace read_block {

std::optional<MemoryBlock> user(int n) {
    return regionBlock(SettingsRegion::UserRecord, n);
}
std::optional<MemoryBlock> sim(int k) {
    const auto index = instanceIndex(k, kSimCount);
    if (!index)
        return std::nullopt;
    return MemoryBlock{kSimBase[*index], kSimLength};
}
std::optional<MemoryBlock> simApn(int k) {
    return regionBlock(SettingsRegion::SimApn, k);
}
std::optional<MemoryBlock> simApnLogin(int k) {
    return regionBlock(SettingsRegion::SimApnLogin, k);
}
std::optional<MemoryBlock> simApnPassword(int k) {
    return regionBlock(SettingsRegion::SimApnPassword, k);
}
std::optional<MemoryBlock> server(int k) {
    return regionBlock(SettingsRegion::ServerRecord, k);
}

}  // namespace read_block

}  // namespace zelar
