#include <gtest/gtest.h>

#include "text/base64.h"
#include "text/cp1251.h"
#include "text/hex.h"
#include "text/html_text.h"
#include "text/padding.h"
#include "text/quoted.h"

namespace zelar {
namespace {

TEST(Cp1251, CyrillicRoundTrip) {
    const std::string text = "Мастер ёЁ №1 Зелар-2";
    const std::string bytes = utf8ToCp1251(text);
    EXPECT_EQ(bytes.size(), 20u);
    EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 0xCC);   // М
    EXPECT_EQ(static_cast<unsigned char>(bytes[7]), 0xB8);   // ё
    EXPECT_EQ(static_cast<unsigned char>(bytes[8]), 0xA8);   // Ё
    EXPECT_EQ(static_cast<unsigned char>(bytes[10]), 0xB9);  // №
    EXPECT_EQ(cp1251ToUtf8(bytes), text);
}

TEST(Cp1251, EveryByteDecodesAndBadInputNeverCrashes) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    const std::string utf8 = cp1251ToUtf8(all);
    const std::string back = utf8ToCp1251(utf8);
    ASSERT_EQ(back.size(), 256u);
    for (int b = 0; b < 256; ++b)
        EXPECT_EQ(static_cast<unsigned char>(back[b]), b) << b;
    EXPECT_EQ(utf8ToCp1251("\xD0"), "?");  // cut sequence
    EXPECT_EQ(utf8ToCp1251("a\xFF"
                           "b"),
              "a?b");                              // invalid lead byte
    EXPECT_EQ(utf8ToCp1251("\xE4\xB8\xAD"), "?");  // no code in the page
    // A file is UTF-8 only when every sequence is well-formed: not overlong, no surrogate.
    for (const char* notUtf8 :
         {"\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xE4\xB8"})
        EXPECT_EQ(fileTextToUtf8(notUtf8), cp1251ToUtf8(notUtf8)) << notUtf8;
    EXPECT_EQ(fileTextToUtf8("\xE4\xB8\xAD\xF0\x9F\x98\x80"), "\xE4\xB8\xAD\xF0\x9F\x98\x80");
}

TEST(Hex, FormattingAndParsing) {
    EXPECT_EQ(toHex(0x1C0, 4), "01C0");
    EXPECT_EQ(toHex(0x12345, 4), "12345");
    EXPECT_EQ(bytesToHex(std::vector<std::uint8_t>{0x00, 0xAB}), "00AB");
    EXPECT_EQ(*hexPairValue('4', 'D'), 0x4D);
    EXPECT_FALSE(hexPairValue('4', 'd'));
    EXPECT_FALSE(hexToBytes("ABC"));
    EXPECT_EQ(*parseDecimal("0205"), 205);
    EXPECT_FALSE(parseDecimal("2.05"));
    EXPECT_FALSE(parseDecimal(""));
    EXPECT_FALSE(parseDecimal("-1"));
    EXPECT_EQ(*parseWholeNumber("-12"), -12);
    EXPECT_EQ(*parseWholeNumber("+0042"), 42);
    EXPECT_EQ(*parseWholeNumber("2147483647"), 2147483647);
    EXPECT_EQ(*parseWholeNumber("-2147483648"), INT32_MIN);
    EXPECT_FALSE(parseWholeNumber("2147483648"));
    EXPECT_FALSE(parseWholeNumber("99999999999999999999"));
    EXPECT_FALSE(parseWholeNumber("-"));
    EXPECT_FALSE(parseWholeNumber(" 12"));
    EXPECT_FALSE(parseWholeNumber("12a"));
    EXPECT_EQ(utf8Length("Мастер1"), 7u);
}

TEST(Padding, PadsNeverCutsAndCutsAtSpace) {
    EXPECT_EQ(padRight("ab", 4), "ab  ");
    EXPECT_EQ(padRight("abcdef", 4), "abcdef");
    EXPECT_EQ(padRight("8912", 6, '\0'), std::string("8912\0\0", 6));
    EXPECT_EQ(zeroPadDecimal(5, 3), "005");
    EXPECT_EQ(zeroPadDecimal(12345, 4), "12345");
    EXPECT_EQ(cutAtFirstSpace("internet  "), "internet");
    EXPECT_EQ(cutAtFirstSpace(" x"), "");
    EXPECT_EQ(cutAtFirstSpace("abc"), "abc");
}

// A character without a glyph reads as one escape in a quoted value and in HTML alike; the
// modem's byte 0x98 is one character, never the two bytes of its UTF-8.
TEST(ControlEscape, OneFormInQuotedValuesAndHtml) {
    const struct {
        const char* name;
        std::string text;
        std::string shown;  // between the quotes, and in HTML
    } cases[] = {
        {"the modem's 0x98", cp1251ToUtf8("a\x98z"), "a\\u0098z"},
        {"first C1 control", "\xC2\x80", "\\u0080"},
        {"last C1 control", "\xC2\x9F", "\\u009F"},
        {"no-break space shows", "\xC2\xA0", "\xC2\xA0"},
        {"Cyrillic after a C1 control", "\xC2\x85Ж", "\\u0085Ж"},
        {"escape and delete", "\x1B\x7F", "\\x1B\\x7F"},
        {"a line feed", "a\nb", "a\\x0Ab"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(quoted(c.text), "\"" + c.shown + "\"");
        EXPECT_EQ(htmlText(c.text), c.shown);
    }
    // Bytes that are no UTF-8 are shown byte by byte in HTML; a lead byte cut off at the end
    // is no C1 control.
    EXPECT_EQ(htmlText("\xC2"), "\\xC2");
    EXPECT_EQ(htmlText("\x98\xFF"), "\\x98\\xFF");
    EXPECT_EQ(quoted("\xC2"), "\"\xC2\"");
}

}  // namespace
}  // namespace zelar

TEST(Base64, PadsTheLastGroupAndTakesEveryByte) {
    const std::pair<std::string, std::string> rows[] = {
        {"", ""},
        {"f", "Zg=="},
        {"fo", "Zm8="},
        {"foo", "Zm9v"},
        {"foob", "Zm9vYg=="},
        {"fooba", "Zm9vYmE="},
        {std::string("\x00\xFF\x80\x7F", 4), "AP+Afw=="},
        {"\xFB\xEF\xBE", "++++"},
    };
    for (const auto& [bytes, text] : rows)
        EXPECT_EQ(zelar::base64(bytes), text) << bytes;
}
