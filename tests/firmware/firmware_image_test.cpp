#include <gtest/gtest.h>

#include <numeric>
#include <string>

#include "firmware/boot_protocol.h"
#include "firmware/firmware_image.h"

namespace zelar {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes withMark(std::size_t size, std::size_t at, const std::string& version) {
    Bytes file(size, 0);
    const std::string mark = "     Ver" + version;
    std::copy(mark.begin(), mark.end(), file.begin() + std::ptrdiff_t(at));
    return file;
}

TEST(FirmwareVersion, CodedHeader) {
    const FirmwareVersion v = firmwareVersionOf({2, 5, 15, 3, 10, 0xAA}, ".dat");
    EXPECT_EQ(v.version + " " + v.date, "2.05 15.03.10");
    EXPECT_EQ(firmwareVersionOf({0x1A, 15, 5, 11, 9}, ".DAT").version, "1A.15");
    EXPECT_EQ(firmwareVersionOf({2, 5, 15}, ".dat").version, "");  // header cut short
}

TEST(FirmwareVersion, OpenImageMarkMustLieWhollyInsideTheFile) {
    EXPECT_EQ(firmwareVersionOf(withMark(12, 0, "0207"), ".bin").version, "0207");
    EXPECT_EQ(firmwareVersionOf(withMark(1000, 988, "0301"), ".BIN").version, "0301");
    // The mark is there but its version would run past the end.
    Bytes cut = withMark(1000, 988, "0301");
    cut.resize(998);
    EXPECT_EQ(firmwareVersionOf(cut, ".bin").version, "");
    EXPECT_EQ(firmwareVersionOf(withMark(100, 0, "0207"), ".hex").version, "");  // ".bin" only
}

TEST(FirmwareImage, PayloadThenErasedBytes) {
    Bytes open(1000);
    std::iota(open.begin(), open.end(), 0);
    const auto image = firmwareImageOf(open, FirmwareKind::Open);
    ASSERT_TRUE(image);
    ASSERT_EQ(image->size(), 496u * 256u);
    EXPECT_TRUE(std::equal(open.begin(), open.end(), image->begin()));
    EXPECT_TRUE(std::all_of(image->begin() + 1000, image->end(), [](auto b) { return b == 0xFF; }));
    EXPECT_EQ(payloadPages(open, FirmwareKind::Open), 4);

    // A coded image loses its 16-byte header, whatever the case of its extension.
    const auto coded = firmwareImageOf(open, firmwareKind(".DAT"));
    ASSERT_TRUE(coded);
    EXPECT_EQ((*coded)[0], 16);
}

TEST(FirmwareImage, RefusedWithoutPayloadOrTooLarge) {
    EXPECT_FALSE(firmwareImageOf({}, FirmwareKind::Open));
    EXPECT_FALSE(firmwareImageOf(Bytes(16, 1), FirmwareKind::Coded));
    EXPECT_TRUE(firmwareImageOf(Bytes(kFirmwareFileLimit, 1), FirmwareKind::Open));
    EXPECT_FALSE(firmwareImageOf(Bytes(kFirmwareFileLimit + 1, 1), FirmwareKind::Open));
}

TEST(BootProtocol, BlockCarriesPageAndSumsToZero) {
    FirmwareImage image(kFirmwareImageSize, 0xFF);
    image[300 * 256] = 0x12;
    const std::string block = composeBlock(image, 300);
    ASSERT_EQ(block.size(), 260u);
    EXPECT_EQ(block.substr(0, 4), std::string("W\x2C\x01\x12", 4));
    const unsigned sum = std::accumulate(block.begin(), block.end(), 0U,
                                         [](unsigned s, char c) { return s + std::uint8_t(c); });
    EXPECT_EQ(sum % 256, 0u);
}

}  // namespace
}  // namespace zelar
