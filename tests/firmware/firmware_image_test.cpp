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

// Bytes of `size` with `fill`, then `tail` bytes of `tailFill`.
Bytes filled(std::size_t size, std::uint8_t fill, std::size_t tail = 0, std::uint8_t tailFill = 0) {
    Bytes file(size, fill);
    file.insert(file.end(), tail, tailFill);
    return file;
}

TEST(FirmwareImage, RefusedWithoutPayloadTooLargeOrBeyondTheProgramMemory) {
    const std::size_t full = kFirmwareImageSize;
    const struct {
        const char* name;
        Bytes file;
        FirmwareKind kind;
        std::string fault;
    } cases[] = {
        {"empty", {}, FirmwareKind::Open, "В файле нет прошивки"},
        {"header only", Bytes(16, 1), FirmwareKind::Coded, "В файле нет прошивки"},
        {"fills the memory", filled(full, 1), FirmwareKind::Open, ""},
        {"erased bytes beyond", filled(full, 1, kFirmwareFileLimit - full, 0xFF),
         FirmwareKind::Open, ""},
        {"one byte beyond", filled(full, 0xFF, 1, 0), FirmwareKind::Open,
         "Прошивка 126977 байт не помещается в память программ модема (126976 байт)"},
        {"coded, header and the memory", filled(16 + full, 1), FirmwareKind::Coded, ""},
        {"coded, one byte beyond", filled(16 + full + 1, 1), FirmwareKind::Coded,
         "Прошивка 126977 байт не помещается в память программ модема (126976 байт)"},
        {"a one-character text", {'x'}, FirmwareKind::Open, "В файле нет прошивки"},
        {"text, then erased bytes", filled(300, 'A', 100, 0xFF), FirmwareKind::Open,
         "В файле нет прошивки"},
        {"above the file limit", filled(kFirmwareFileLimit + 1, 0xFF), FirmwareKind::Open,
         "Файл прошивки больше 131072 байт"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(firmwareImageFault(c.file, c.kind), c.fault);
        EXPECT_EQ(firmwareImageOf(c.file, c.kind).has_value(), c.fault.empty());
    }
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
