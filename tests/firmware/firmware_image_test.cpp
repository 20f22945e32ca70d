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

Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Bytes that look like machine code: every value, in a mixed order.
Bytes code(std::size_t size) {
    Bytes file(size);
    for (std::size_t i = 0; i < size; ++i)
        file[i] = static_cast<std::uint8_t>(i * 37 + 11);
    return file;
}

// `size` bytes of code, then erased bytes up to `total`.
Bytes withCode(std::size_t size, std::size_t total) {
    return code(size) + filled(total - size, 0xFF);
}

// `piece` (its bytes as written, Windows-1251 or UTF-8 alike) repeated `times`.
Bytes text(const std::string& piece, int times) {
    Bytes file;
    for (int i = 0; i < times; ++i)
        file.insert(file.end(), piece.begin(), piece.end());
    return file;
}

// As `text`, for pieces written with their NULs: the literal's size, not up to its first NUL.
template <std::size_t N>
Bytes utf16(const char (&piece)[N], int times) {
    return text(std::string(piece, N - 1), times);
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
        {"fills the memory", code(full), FirmwareKind::Open, ""},
        {"erased bytes beyond", code(full) + filled(kFirmwareFileLimit - full, 0xFF),
         FirmwareKind::Open, ""},
        {"one byte beyond", filled(full, 0xFF, 1, 0), FirmwareKind::Open,
         "Прошивка 126977 байт не помещается в память программ модема (126976 байт)"},
        {"coded, header and the memory", filled(16, 1) + code(full), FirmwareKind::Coded, ""},
        {"coded, one byte beyond", filled(16 + full + 1, 1), FirmwareKind::Coded,
         "Прошивка 126977 байт не помещается в память программ модема (126976 байт)"},
        {"a one-character text",
         {'x'},
         FirmwareKind::Open,
         "В файле нет прошивки: программа короче 256 байт"},
        {"one erased byte", {0xFF}, FirmwareKind::Open, "В файле нет прошивки: все байты 0xFF"},
        {"one NUL", {0x00}, FirmwareKind::Open, "В файле нет прошивки: программа короче 256 байт"},
        {"three control bytes",
         {0x01, 0x02, 0x03},
         FirmwareKind::Open,
         "В файле нет прошивки: программа короче 256 байт"},
        {"a program of 255 bytes, then erased ones", withCode(255, 1000), FirmwareKind::Open,
         "В файле нет прошивки: программа короче 256 байт"},
        {"a program of one page, then erased ones", withCode(256, 1000), FirmwareKind::Open, ""},
        {"coded, one page after the header", filled(16, 7, 0) + code(256), FirmwareKind::Coded, ""},
        {"coded, a page of NULs after the header", filled(16 + 256, 0), FirmwareKind::Coded,
         "В файле нет прошивки: все байты одинаковые"},
        {"500 NULs", filled(500, 0), FirmwareKind::Open,
         "В файле нет прошивки: все байты одинаковые"},
        {"a page of one value, then erased bytes", filled(300, 'A', 100, 0xFF), FirmwareKind::Open,
         "В файле нет прошивки: все байты одинаковые"},
        {"one value but the last byte", filled(300, 0, 1, 1), FirmwareKind::Open, ""},
        {"text, then erased bytes", text("Версия 2.05\r\n", 30) + filled(100, 0xFF),
         FirmwareKind::Open, "В файле нет прошивки: это текст"},
        {"Windows-1251 text, \"я\" among it",
         text("\xCC\xEE\xFF \xE7\xE0\xEC\xE5\xF2\xEA\xE0\r\n", 30), FirmwareKind::Open,
         "В файле нет прошивки: это текст"},
        {"text with two NULs", text("note\r\n", 50) + Bytes{0, 0}, FirmwareKind::Open, ""},
        {"UTF-16 text with its mark", utf16("\xFF\xFE\x1F\x04\x40\x04\x38\x04\r\0\n\0", 30),
         FirmwareKind::Open, "В файле нет прошивки: это текст UTF-16"},
        {"UTF-16 text, high byte first, no mark", utf16("\x04\x10\x04\x00\0\r\0\n", 80),
         FirmwareKind::Open, "В файле нет прошивки: это текст UTF-16"},
        {"16-bit units from all over, no mark", utf16("\x12\x34\x56\x78", 80), FirmwareKind::Open,
         ""},
        {"UTF-16 units with a NUL among them", utf16("\0a\0b\0\0\0\n", 80), FirmwareKind::Open, ""},
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
