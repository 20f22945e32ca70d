#include "settings/screen_blocks.h"

#include "settings/field_codec.h"
#include "text/cp1251.h"
#include "text/padding.h"

namespace zelar {

namespace {

using namespace memory_address;
using C = FieldCoding;

constexpr std::uint8_t kNumberWidth = 12;

const std::vector<Field<AutoDetectFlags>>& autoDetectFields() {
    static const std::vector<Field<AutoDetectFlags>> fields = {
        makeField<C::Bit, AutoDetectFlags>(
            kAutoDetect, 1, [](auto& f) -> auto& { return f.sim1; }, 0),
        makeField<C::Bit, AutoDetectFlags>(
            kAutoDetect, 1, [](auto& f) -> auto& { return f.sim2; }, 1),
    };
    return fields;
}

std::vector<Field<VoiceCallBlock>> buildVoiceCallFields() {
    std::vector<Field<VoiceCallBlock>> fields;
    fields.push_back(makeField<C::U8, VoiceCallBlock>(
        kVoiceCall, 1, [](auto& b) -> auto& { return b.microphone; }));
    fields.push_back(makeField<C::U8, VoiceCallBlock>(
        kVoiceCall + 1, 1, [](auto& b) -> auto& { return b.speaker; }));
    for (int i = 0; i < kOutgoingNumberCount; ++i) {
        const auto address = static_cast<std::uint16_t>(kVoiceCall + 2 + kNumberWidth * i);
        fields.push_back(makeField<C::Text, VoiceCallBlock>(
            address, kNumberWidth, [i](auto& b) -> auto& { return b.numbers[i]; }));
    }
    fields.push_back(makeField<C::Flag, VoiceCallBlock>(
        kVoiceCall + 62, 1, [](auto& b) -> auto& { return b.outgoingAllowed; }));
    return fields;
}

const std::vector<Field<VoiceCallBlock>>& voiceCallFields() {
    static const auto fields = buildVoiceCallFields();
    return fields;
}

std::vector<Field<IncomingCallBlock>> buildIncomingCallFields() {
    std::vector<Field<IncomingCallBlock>> fields;
    fields.push_back(makeField<C::Flag, IncomingCallBlock>(
        kIncomingCall, 1, [](auto& b) -> auto& { return b.incomingAllowed; }));
    for (int i = 0; i < kAllowedNumberCount; ++i) {
        const auto address = static_cast<std::uint16_t>(kIncomingCall + 1 + kNumberWidth * i);
        fields.push_back(makeField<C::ZeroPadded, IncomingCallBlock>(
            address, kNumberWidth, [i](auto& b) -> auto& { return b.numbers[i]; }));
    }
    return fields;
}

const std::vector<Field<IncomingCallBlock>>& incomingCallFields() {
    static const auto fields = buildIncomingCallFields();
    return fields;
}

template <class Block>
std::optional<Block> decodeBlock(const std::vector<Field<Block>>& fields, MemoryBlock block,
                                 std::span<const std::uint8_t> payload) {
    Block value;
    if (!decodeFields(fields, block, payload, value))
        return std::nullopt;
    return value;
}

std::optional<RegionWrite> withAddress(MemoryBlock block,
                                       std::optional<std::vector<std::uint8_t>> data) {
    if (!data)
        return std::nullopt;
    return RegionWrite{block.address, std::move(*data)};
}

}  // namespace

std::optional<AutoDetectFlags> decodeAutoDetect(std::span<const std::uint8_t> payload) {
    return decodeBlock(autoDetectFields(), read_block::kAutoDetect, payload);
}

std::vector<std::uint8_t> encodeAutoDetect(const AutoDetectFlags& flags) {
    return encodeFields(autoDetectFields(), read_block::kAutoDetect, flags)
        .value_or(std::vector<std::uint8_t>(read_block::kAutoDetect.length, 0));
}

RegionWrite ComposeRegionWrite(const AutoDetectFlags& flags) {
    return {kAutoDetect, encodeAutoDetect(flags)};
}

std::optional<OperatingMode> decodeOperatingMode(std::span<const std::uint8_t> payload) {
    if (payload.size() < read_block::kOperatingMode.length)
        return std::nullopt;
    return (payload[0] & 0x0F) == 1 ? OperatingMode::Terminal : OperatingMode::EndDevice;
}

std::vector<std::uint8_t> encodeOperatingMode(OperatingMode mode) {
    return {static_cast<std::uint8_t>(mode)};
}

RegionWrite ComposeRegionWrite(OperatingMode mode) {
    return {kOperatingMode, encodeOperatingMode(mode)};
}

std::optional<VoiceCallBlock> decodeVoiceCall(std::span<const std::uint8_t> payload) {
    return decodeBlock(voiceCallFields(), read_block::kVoiceCall, payload);
}

std::optional<std::vector<std::uint8_t>> encodeVoiceCall(const VoiceCallBlock& block) {
    return encodeFields(voiceCallFields(), read_block::kVoiceCall, block);
}

std::optional<RegionWrite> ComposeRegionWrite(const VoiceCallBlock& block) {
    return withAddress(read_block::kVoiceCall, encodeVoiceCall(block));
}

std::optional<IncomingCallBlock> decodeIncomingCall(std::span<const std::uint8_t> payload) {
    return decodeBlock(incomingCallFields(), read_block::kIncomingCall, payload);
}

std::optional<std::vector<std::uint8_t>> encodeIncomingCall(const IncomingCallBlock& block) {
    return encodeFields(incomingCallFields(), read_block::kIncomingCall, block);
}

std::optional<RegionWrite> ComposeRegionWrite(const IncomingCallBlock& block) {
    return withAddress(read_block::kIncomingCall, encodeIncomingCall(block));
}

std::optional<std::string> decodeImei(std::span<const std::uint8_t> payload) {
    constexpr std::size_t kImeiDigits = 15;
    if (payload.size() < read_block::kImei.length)
        return std::nullopt;
    // A shorter IMEI is padded with NULs.
    return cp1251ToUtf8(cutAtFirstNul(std::string(payload.begin(), payload.begin() + kImeiDigits)));
}

}  // namespace zelar
