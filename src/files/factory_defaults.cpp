#include "files/factory_defaults.h"

#include "settings/image_codec.h"
#include "settings/screen_blocks.h"
#include "settings/value_tables.h"

namespace zelar {

namespace {

using R = SettingsRegion;

constexpr char kFactoryPassword[] = "7391";
// Stored user statuses, as kUserStatusNames lists them.
constexpr std::uint8_t kStatusMaster = 0;  // "Мастер"
constexpr std::uint8_t kStatusGuard = 2;   // "Охранник"
constexpr std::uint8_t kModemFlagsGprsOff = 0x02;
constexpr std::uint8_t kTestPeriodHours = 4;
constexpr std::uint16_t kLinkTestSeconds = 14400;  // " 4  часа"

// Main system 0, object 4000 high byte first, protocol code 2. The object field is read low
// byte first, so this reads back as 40975: not set, like any value of 2048 or more.
const std::vector<std::uint8_t> kObjectBytes = {0x00, 0x0F, 0xA0, 0x02};

TSettingsImage factoryImage(FactoryDns dns) {
    TSettingsImage image;
    for (int i = 0; i < kUserCount; ++i) {
        UserRecord& user = image.users[static_cast<std::size_t>(i)];
        user.phone = "0000";
        user.status = i == 0 ? kStatusMaster : kStatusGuard;
        user.password = kFactoryPassword;
        user.testPeriodHours = kTestPeriodHours;
    }
    image.modemFlags = kModemFlagsGprsOff;
    for (SimRecord& sim : image.sims) {
        sim.pin = kFactoryPassword;
        sim.puk = std::string(kDefaultPuk);
        sim.phone = "000000000000";
        sim.ussd = "000";
    }
    image.dns1 = dns.server1;
    image.dns2 = dns.server2;
    image.linkTestPeriod = kLinkTestSeconds;
    // The object block is written as fixed bytes; the image takes what a read would give.
    decodeImageBlock(read_block::kObject, kObjectBytes, image);
    return image;
}

std::vector<FactoryWrite> buildWrites() {
    std::vector<FactoryWrite> writes;
    int percent = 0;
    auto add = [&](std::variant<RegionInstance, RegionWrite> data, int step) {
        percent += step;
        writes.push_back({std::move(data), percent});
    };
    constexpr int kStep = 3;
    add(RegionInstance{R::ModemFlags, 1}, kStep);
    for (int n = 1; n <= kUserCount; ++n)
        add(RegionInstance{R::UserRecord, n}, kStep);
    add(RegionInstance{R::ModemFlags, 1}, kStep);
    for (int k = 1; k <= kSimCount; ++k) {
        for (R region : {R::SimRecord, R::SimThreshold, R::SimUssd, R::SimApn, R::SimApnLogin,
                         R::SimApnPassword})
            add(RegionInstance{region, k}, kStep);
    }
    add(ComposeRegionWrite(AutoDetectFlags{true, true}), kStep);
    add(RegionInstance{R::DnsServers, 1}, kStep);
    add(RegionInstance{R::GprsAuth, 1}, kStep);
    add(RegionInstance{R::ServerRecord, 1}, kStep);
    add(RegionInstance{R::ServerRecord, 2}, kStep);
    add(RegionInstance{R::LinkTestPeriod, 1}, kStep);
    add(RegionWrite{memory_address::kMainSystem, kObjectBytes}, 6);
    add(RegionWrite{memory_address::kSerialNumber, {0, 0, 0, 0}}, 8);
    VoiceCallBlock voice;
    voice.microphone = 7;
    voice.speaker = 70;
    add(*ComposeRegionWrite(voice), 8);
    add(*ComposeRegionWrite(IncomingCallBlock{}), 0);
    return writes;
}

}  // namespace

void applyFactoryValues(TSettingsImage& image, FactoryDns dns) {
    const double version = image.firmwareVersion;
    image = factoryImage(dns);
    image.firmwareVersion = version;
}

const std::vector<FactoryWrite>& factoryWrites() {
    static const std::vector<FactoryWrite> writes = buildWrites();
    return writes;
}

std::optional<RegionWrite> composeFactoryWrite(const FactoryWrite& write,
                                               const TSettingsImage& image) {
    if (const auto* fixed = std::get_if<RegionWrite>(&write.data))
        return *fixed;
    const auto& instance = std::get<RegionInstance>(write.data);
    return ComposeRegionWrite(instance.region, instance.k, image);
}

}  // namespace zelar
