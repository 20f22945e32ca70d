#include "settings/image_codec.h"

namespace zelar {

namespace {

using namespace memory_address;
using C = FieldCoding;
using ImageField = Field<TSettingsImage>;

template <FieldCoding coding, class Get>
ImageField field(std::uint32_t address, std::uint8_t width, Get get) {
    return makeField<coding, TSettingsImage>(static_cast<std::uint16_t>(address), width, get);
}

void addUser(std::vector<ImageField>& fields, int i) {
    const std::uint32_t base = kUserBase + kUserLength * i;
    fields.push_back(field<C::UserPhone>(
        base, 12, [i](auto& m) -> auto& { return m.users[i].phone; }));
    fields.push_back(field<C::U8>(
        base + 12, 1, [i](auto& m) -> auto& { return m.users[i].status; }));
    fields.push_back(field<C::U8>(
        base + 13, 1, [i](auto& m) -> auto& { return m.users[i].messageType; }));
    fields.push_back(field<C::Text>(
        base + 14, 4, [i](auto& m) -> auto& { return m.users[i].password; }));
    fields.push_back(field<C::U8>(
        base + 18, 1, [i](auto& m) -> auto& { return m.users[i].options; }));
    fields.push_back(field<C::U16LE>(
        base + 19, 2, [i](auto& m) -> auto& { return m.users[i].messageClasses; }));
    fields.push_back(field<C::U8>(
        base + 21, 1, [i](auto& m) -> auto& { return m.users[i].testPeriodHours; }));
    fields.push_back(field<C::U16LE>(
        base + 22, 2, [i](auto& m) -> auto& { return m.users[i].objectOffset; }));
}

void addSim(std::vector<ImageField>& fields, int i) {
    const std::uint32_t base = kSimBase[i];
    fields.push_back(field<C::U8>(
        base, 1, [i](auto& m) -> auto& { return m.sims[i].flags; }));
    fields.push_back(field<C::Text>(
        base + 1, 4, [i](auto& m) -> auto& { return m.sims[i].pin; }));
    fields.push_back(field<C::DefaultPuk>(
        base + 5, 8, [i](auto& m) -> auto& { return m.sims[i].puk; }));
    fields.push_back(field<C::Text>(
        base + 13, 12, [i](auto& m) -> auto& { return m.sims[i].phone; }));
    fields.push_back(field<C::Text>(
        base + 25, 3, [i](auto& m) -> auto& { return m.sims[i].ussd; }));
    fields.push_back(field<C::U8>(
        base + 28, 1, [i](auto& m) -> auto& { return m.sims[i].balanceThreshold; }));
    const std::uint32_t apn = kApnBase[i];
    fields.push_back(field<C::Text>(
        apn, 24, [i](auto& m) -> auto& { return m.sims[i].apnName; }));
    fields.push_back(field<C::Text>(
        apn + 24, 24, [i](auto& m) -> auto& { return m.sims[i].apnLogin; }));
    fields.push_back(field<C::Text>(
        apn + 48, 24, [i](auto& m) -> auto& { return m.sims[i].apnPassword; }));
}

void addServer(std::vector<ImageField>& fields, int i) {
    const std::uint32_t base = kServerBase[i];
    fields.push_back(field<C::U8>(
        base, 1, [i](auto& m) -> auto& { return m.servers[i].flags; }));
    fields.push_back(field<C::Text>(
        base + 1, 15, [i](auto& m) -> auto& { return m.servers[i].ip; }));
    fields.push_back(field<C::Text>(
        base + 16, 4, [i](auto& m) -> auto& { return m.servers[i].port; }));
    fields.push_back(field<C::Text>(
        base + 20, 24, [i](auto& m) -> auto& { return m.servers[i].dnsName; }));
}

std::vector<ImageField> buildImageFields() {
    std::vector<ImageField> fields;
    fields.push_back(field<C::U8>(
        kModemFlags, 1, [](auto& m) -> auto& { return m.modemFlags; }));
    fields.push_back(field<C::U8>(
        kModemType, 1, [](auto& m) -> auto& { return m.modemType; }));
    for (int i = 0; i < kUserCount; ++i)
        addUser(fields, i);
    for (int i = 0; i < kSimCount; ++i)
        addSim(fields, i);
    fields.push_back(field<C::Text>(
        kDns1, 16, [](auto& m) -> auto& { return m.dns1; }));
    fields.push_back(field<C::Text>(
        kDns2, 16, [](auto& m) -> auto& { return m.dns2; }));
    fields.push_back(field<C::Text>(
        kGprsAuthName, 15, [](auto& m) -> auto& { return m.gprsAuthName; }));
    fields.push_back(field<C::Text>(
        kGprsAuthPassword, 8, [](auto& m) -> auto& { return m.gprsAuthPassword; }));
    for (int i = 0; i < kServerCount; ++i)
        addServer(fields, i);
    fields.push_back(field<C::U16BE>(
        kLinkTestPeriod, 2, [](auto& m) -> auto& { return m.linkTestPeriod; }));
    fields.push_back(field<C::U8>(
        kMainSystem, 1, [](auto& m) -> auto& { return m.mainSystem; }));
    fields.push_back(field<C::U16LE>(
        kMainObject, 2, [](auto& m) -> auto& { return m.mainObjectMinus1; }));
    fields.push_back(field<C::U8>(
        kProtocol, 1, [](auto& m) -> auto& { return m.protocol; }));
    return fields;
}

}  // namespace

const std::vector<Field<TSettingsImage>>& imageFields() {
    static const std::vector<ImageField> fields = buildImageFields();
    return fields;
}

bool decodeImageBlock(MemoryBlock block, std::span<const std::uint8_t> payload,
                      TSettingsImage& image) {
    return decodeFields(imageFields(), block, payload, image);
}

bool isImageRegion(SettingsRegion region) {
    switch (region) {
        case SettingsRegion::AutoDetect:
        case SettingsRegion::OperatingMode:
        case SettingsRegion::SerialNumber:
        case SettingsRegion::VoiceCall:
        case SettingsRegion::IncomingCall:
            return false;
        default:
            return true;
    }
}

std::optional<std::vector<std::uint8_t>> encodeRegion(SettingsRegion region, int k,
                                                      const TSettingsImage& image) {
    const auto block = regionBlock(region, k);
    if (!block || !isImageRegion(region))
        return std::nullopt;
    return encodeFields(imageFields(), *block, image);
}

std::optional<RegionWrite> ComposeRegionWrite(SettingsRegion region, int k,
                                              const TSettingsImage& image) {
    auto data = encodeRegion(region, k, image);
    if (!data)
        return std::nullopt;
    return RegionWrite{regionBlock(region, k)->address, std::move(*data)};
}

}  // namespace zelar
