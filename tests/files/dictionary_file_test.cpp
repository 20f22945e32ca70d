#include "files/dictionary_file.h"

#include <gtest/gtest.h>

namespace zelar {
namespace {

TEST(DictionaryFile, MarkersAndPlacement) {
    EXPECT_EQ(dictionaryKind("Protocol=0\t\t\t"), DictionaryKind::Protocol0);
    EXPECT_EQ(dictionaryKind("Protocol=1\t\t\tProtocol=0\t\t\t"), DictionaryKind::Protocol0);
    EXPECT_EQ(dictionaryKind("x Protocol=1\t\t\t"), DictionaryKind::RpiPlus);
    EXPECT_FALSE(dictionaryKind("Protocol=0"));

    const struct {
        int code;
        int page;
        int offset;
    } places[] = {{0, 100, 0}, {1024, 100, 32}, {5, 101, 64}, {2047, 355, 224}, {1027, 100, 224}};
    for (const auto& p : places) {
        const auto place = rpiPlusPlace(p.code);
        ASSERT_TRUE(place) << p.code;
        EXPECT_EQ(place->page, p.page) << p.code;
        EXPECT_EQ(place->offset, p.offset) << p.code;
    }
    EXPECT_FALSE(rpiPlusPlace(2048));
    EXPECT_FALSE(rpiPlusPlace(-1));
    EXPECT_EQ(protocol0Place(767).page, 96);
    EXPECT_EQ(protocol0Place(13).offset, 160);
}

TEST(DictionaryFile, Protocol0Lines) {
    for (const char* hex : {"a", "0A", "00a"}) {
        const auto line = parseProtocol0Line(std::string("10\t") + hex + "\tТревога\t300");
        EXPECT_EQ(line.error, Protocol0Line::Error::None) << hex;
        EXPECT_EQ(line.hex, 10) << hex;
        EXPECT_EQ(line.type, 300);
    }
    // Eight digits pass whole, past 32 bits of sign; a ninth is refused.
    const struct {
        const char* hex;
        std::int64_t value;
    } wide[] = {{"7FFFFFFF", 0x7FFFFFFF}, {"80000000", 0x80000000LL}, {"ffffffff", 0xFFFFFFFFLL}};
    for (const auto& w : wide) {
        const auto line = parseProtocol0Line(std::string("10\t") + w.hex + "\tt\t1");
        EXPECT_EQ(line.error, Protocol0Line::Error::None) << w.hex;
        EXPECT_EQ(line.hex, w.value) << w.hex;
    }
    EXPECT_EQ(parseProtocol0Line("10\t100000000\tt\t1").error, Protocol0Line::Error::Numbering);
    EXPECT_EQ(parseRpiPlusLine(":\t12\t8000000C\ttext\t1").error, RpiPlusLine::Error::NotEqual);
    EXPECT_EQ(parseProtocol0Line("10\t0x\ttext\t1").error, Protocol0Line::Error::Numbering);
    // With two tabs only, the text is taken as the type.
    EXPECT_EQ(parseProtocol0Line("5\t5\ttext").error, Protocol0Line::Error::Type);
    EXPECT_EQ(protocol0RecordLine(10, "a b", 44), "10\t00A\ta b\t44\r\n");
}

TEST(DictionaryFile, RpiPlusLines) {
    using E = RpiPlusLine::Error;
    const std::string thirty(30, 'x');
    const struct {
        std::string line;
        E error;
        std::string dec;
    } cases[] = {
        {":\t12\tC\t" + thirty + "\t12", E::None, "12"},
        {":\t12\tC\t" + thirty + "x\t1", E::TooLong, "12"},
        {":\t12", E::MissingTab, ""},
        {":\t12\tC\ttext", E::MissingTab, "12"},
        {":\t12\tD\ttext\t1", E::NotEqual, "12"},
        {":\t12\tC\ttext\tx", E::BadNumber, "12"},
        {":\t12\tC\ttext\t", E::BadNumber, "12"},
        {":\t2048\t800\ttext\t1", E::OutOfRange, "2048"},
    };
    for (const auto& c : cases) {
        const RpiPlusLine line = parseRpiPlusLine(c.line);
        EXPECT_EQ(line.error, c.error) << c.line;
        EXPECT_EQ(line.decField, c.dec) << c.line;
    }
    EXPECT_EQ(parseRpiPlusLine(":\t12\tC\ttext\t12").group, 1);
}

TEST(DictionaryFile, RecordsHoldThirtyOneTextBytes) {
    const auto full = makeRecord(std::string(31, 'A'), 7);
    ASSERT_TRUE(full);
    EXPECT_EQ(recordText(*full), std::string(31, 'A'));
    EXPECT_EQ(recordType(*full), 7);
    EXPECT_FALSE(makeRecord(std::string(32, 'A'), 0));
    EXPECT_EQ(recordText(DictionaryRecord{}), "");
}

TEST(DictionaryFile, LinesSplitAtAnyLineEnd) {
    LineReader lines("a\r\nb\nc\rd");
    EXPECT_EQ(lines.next(), "a");
    EXPECT_EQ(lines.next(), "b");
    EXPECT_EQ(lines.next(), "c");
    EXPECT_EQ(lines.next(), "d");
    EXPECT_TRUE(lines.atEnd());
}

}  // namespace
}  // namespace zelar
