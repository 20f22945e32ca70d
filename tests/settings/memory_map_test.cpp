#include <gtest/gtest.h>

#include <map>
#include <random>

#include "settings/image_codec.h"
#include "settings/screen_blocks.h"
#include "settings/serial_number.h"

namespace zelar {
namespace {

using R = SettingsRegion;

TEST(RegionTable, AddressesAndLengthsOfEveryWrite) {
    const struct {
        R region;
        int k;
        MemoryBlock block;
    } expected[] = {
        {R::ModemFlags, 1, {0x0005, 2}},      {R::UserRecord, 1, {0x0008, 24}},
        {R::UserRecord, 6, {0x0080, 24}},     {R::SimRecord, 1, {0x0098, 25}},
        {R::SimUssd, 1, {0x00B1, 3}},         {R::SimThreshold, 1, {0x00B4, 1}},
        {R::SimRecord, 2, {0x00B8, 25}},      {R::SimUssd, 2, {0x00D1, 3}},
        {R::SimThreshold, 2, {0x00D4, 1}},    {R::SimApn, 1, {0x00D8, 24}},
        {R::SimApnLogin, 1, {0x00F0, 24}},    {R::SimApnPassword, 1, {0x0108, 24}},
        {R::SimApn, 2, {0x0140, 24}},         {R::SimApnLogin, 2, {0x0158, 24}},
        {R::SimApnPassword, 2, {0x0170, 24}}, {R::DnsServers, 1, {0x0120, 32}},
        {R::GprsAuth, 1, {0x01A9, 23}},       {R::ServerRecord, 1, {0x01C0, 44}},
        {R::ServerRecord, 2, {0x01EC, 44}},   {R::AutoDetect, 1, {0x0218, 1}},
        {R::LinkTestPeriod, 1, {0x0219, 2}},  {R::OperatingMode, 1, {0x0220, 1}},
        {R::SerialNumber, 1, {0x0221, 4}},    {R::VoiceCall, 1, {0x0225, 63}},
        {R::IncomingCall, 1, {0x0264, 37}},
    };
    for (const auto& e : expected) {
        const auto block = regionBlock(e.region, e.k);
        ASSERT_TRUE(block);
        EXPECT_EQ(block->address, e.block.address) << static_cast<int>(e.region) << "/" << e.k;
        EXPECT_EQ(block->length, e.block.length) << static_cast<int>(e.region) << "/" << e.k;
    }
    EXPECT_EQ(allRegionInstances().size(), 29u);
}

std::vector<MemoryBlock> allReadBlocks() {
    std::vector<MemoryBlock> blocks = {
        read_block::kModem,     read_block::kDnsServers,    read_block::kGprsAuth,
        read_block::kImei,      read_block::kAutoDetect,    read_block::kLinkTestPeriod,
        read_block::kObject,    read_block::kOperatingMode, read_block::kSerialNumber,
        read_block::kVoiceCall, read_block::kIncomingCall,
    };
    for (int n = 1; n <= kUserCount; ++n)
        blocks.push_back(*read_block::user(n));
    for (int k = 1; k <= 2; ++k) {
        for (auto block : {read_block::sim(k), read_block::simApn(k), read_block::simApnLogin(k),
                           read_block::simApnPassword(k), read_block::server(k)})
            blocks.push_back(*block);
    }
    return blocks;
}

TEST(ImageFields, EveryWrittenByteBelongsToExactlyOneField) {
    std::map<std::uint32_t, int> owners;
    for (const auto& field : imageFields()) {
        for (std::uint32_t a = field.address; a < field.end(); ++a)
            ++owners[a];
    }
    for (const auto& [region, k] : allRegionInstances()) {
        if (!isImageRegion(region))
            continue;
        const auto block = *regionBlock(region, k);
        for (std::uint32_t a = block.address; a < block.end(); ++a)
            EXPECT_EQ(owners[a], 1) << "address " << a;
    }
}

TEST(ImageFields, NoFieldStraddlesABlockEdge) {
    std::vector<MemoryBlock> blocks = allReadBlocks();
    for (const auto& [region, k] : allRegionInstances())
        blocks.push_back(*regionBlock(region, k));
    for (const auto& field : imageFields()) {
        for (const auto& block : blocks) {
            const bool inside = field.address >= block.address && field.end() <= block.end();
            const bool outside = field.end() <= block.address || field.address >= block.end();
            EXPECT_TRUE(inside || outside)
                << "field at " << field.address << " and block at " << block.address;
        }
    }
}

TEST(Decoders, AnyBytesOfAnyLengthAreHandled) {
    std::mt19937 random(1234);
    std::vector<std::uint8_t> bytes;
    for (int round = 0; round < 50; ++round) {
        for (const auto& block : allReadBlocks()) {
            for (std::size_t size = 0; size <= block.length + 1u; ++size) {
                bytes.resize(size);
                for (auto& b : bytes)
                    b = static_cast<std::uint8_t>(random());
                TSettingsImage image;
                EXPECT_EQ(decodeImageBlock(block, bytes, image), size >= block.length);
                decodeAutoDetect(bytes);
                decodeOperatingMode(bytes);
                decodeSerialNumber(bytes);
                decodeImei(bytes);
                decodeIncomingCall(bytes);
                if (const auto voice = decodeVoiceCall(bytes)) {
                    EXPECT_TRUE(encodeVoiceCall(*voice));
                }
                for (const auto& [region, k] : allRegionInstances()) {
                    const auto data = encodeRegion(region, k, image);
                    EXPECT_EQ(data.has_value(), isImageRegion(region));
                    if (data) {
                        EXPECT_EQ(data->size(), regionBlock(region, k)->length);
                    }
                }
            }
        }
    }
}

}  // namespace
}  // namespace zelar
