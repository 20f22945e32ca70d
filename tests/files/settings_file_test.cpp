#include "files/settings_file.h"
#include "support/crlf_lines.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace zelar {
namespace {

// A modem's settings with something in every kind of line; users 2 to 6 (but for their
// passwords) and SIM 2 (but for its PIN) are as a never-read image holds them: a modem needs
// those to be digits.
SettingsFileContent sample() {
    SettingsFileContent c;
    c.created = "07.12.2026 10:00";
    c.serialNumber = "42654321";
    c.softVersion = "12.05";
    c.autoDetect = 2;
    TSettingsImage& m = c.image;
    m.modemFlags = 0x05;
    m.modemType = 0x1A;
    SimRecord& s = m.sims[0];
    s.flags = 0x03;
    s.pin = "1234";
    s.ussd = "100";
    s.balanceThreshold = 0x32;
    s.apnName = "internet.mts.ru";
    s.apnLogin = "логин";
    s.apnPassword = "mts";
    m.sims[1].pin = "0000";
    UserRecord& u = m.users[0];
    u.phone = "+79161234567";
    u.messageType = 1;
    u.password = "1234";
    u.options = 0x81;
    u.messageClasses = 0x1FF;
    u.testPeriodHours = 0x18;
    u.objectOffset = 9999;
    for (int n = 2; n <= kUserCount; ++n)
        m.users[static_cast<std::size_t>(n - 1)].password = "000" + std::to_string(n);
    m.linkTestPeriod = 0x0258;
    m.servers[0] = {0x81, "10.0.0.1", "5000", "srv.example.ru"};
    m.dns1 = "8.8.8.8";
    m.gprsAuthName = "gprs";
    m.gprsAuthPassword = "пароль";
    return c;
}

std::vector<std::string> emptyUser(int n) {
    return {
        "User" + std::to_string(n), "00", "00", "000" + std::to_string(n), "00", "00", "00", "0000",
        std::string(12, ' ')};
}

std::string blanks(std::size_t n) {
    return std::string(n, ' ');
}

// The file written by hand from the layout: Windows-1251 texts, CR LF line ends.
std::string expectedFile() {
    std::vector<std::string> lines = {
        "\x01\x02\x03"
        "Created: 07.12.2026 10:00",
        "S/N: 426543",
        "Soft version: 12.0",
        "Modem",
        "05",
        "1A",
        "SIM1",
        "03",
        "1234",
        "62840517",
        "100",
        "32",
        "internet.mts.ru" + blanks(9),
        "\xEB\xEE\xE3\xE8\xED" + blanks(19),  // "логин"
        "mts" + blanks(21),
        "02",
        "SIM2",
        "00",
        "0000",
        "62840517",
        "",
        "00",
        blanks(24),
        blanks(24),
        blanks(24),
        "02",
        "User1",
        "00",
        "01",
        "1234",
        "81",
        "1FF",
        "18",
        "270F",
        "+79161234567"};
    for (int n = 2; n <= 6; ++n) {
        const auto user = emptyUser(n);
        lines.insert(lines.end(), user.begin(), user.end());
    }
    const std::vector<std::string> gprs = {"GPRS",
                                           "0258",
                                           "81",
                                           "00",
                                           "8.8.8.8" + blanks(9),
                                           blanks(16),
                                           "gprs" + blanks(11),
                                           "\xEF\xE0\xF0\xEE\xEB\xFC" + blanks(2),  // "пароль"
                                           "10.0.0.1" + blanks(7),
                                           blanks(15),
                                           "5000",
                                           blanks(4),
                                           "srv.example.ru" + blanks(10),
                                           blanks(24)};
    lines.insert(lines.end(), gprs.begin(), gprs.end());
    std::string file;
    for (const std::string& l : lines)
        file += l + "\r\n";
    return file;
}

std::string joinFile(const std::vector<std::string>& lines) {
    std::string file;
    for (const std::string& l : lines)
        file += l + "\r\n";
    return file;
}

TEST(SettingsFile, IsWrittenLineForLineAsTheLayoutGivesIt) {
    const std::string file = composeSettingsFile(sample());
    ASSERT_EQ(test::crlfLines(file).size(), 94u);
    EXPECT_EQ(file, expectedFile());
}

// One line of the sample file replaced (1-based line number) and what the load makes of it.
struct Changed {
    int line;
    std::string text;
};

TEST(SettingsFile, TakesLinesAsTheirKindsAreRead) {
    struct Case {
        Changed change;
        std::function<std::string(const TSettingsImage&)> field;
        std::string expected;
    };
    const std::vector<Case> cases = {
        // Lines for people only are never read: a file from another modem loads all the same.
        {{1, "\xEF\xBB\xBF\x01\x02\x03" "Created: 07.12.2026"},
         [](auto& m) { return m.users[0].password; },
         "1234"},  // after a UTF-8 byte-order mark
        {{2, "S/N: 999999"}, [](auto& m) { return m.users[0].password; }, "1234"},
        {{3, "Soft version: 9.99"}, [](auto& m) { return m.users[0].password; }, "1234"},
        // A GPRS text stops at its first blank; a SIM access point name keeps its blanks.
        {{85, "my host" + blanks(9)}, [](auto& m) { return m.dns1; }, "my"},
        {{13, "inter net" + blanks(15)},
         [](auto& m) { return m.sims[0].apnName; },
         "inter net" + blanks(15)},
        {{91, "50 1"}, [](auto& m) { return m.servers[0].port; }, "50 1"},
        {{34, "270F"}, [](auto& m) { return std::to_string(m.users[0].objectOffset); }, "9999"},
        {{13, "\xE0\xEF\xED"}, [](auto& m) { return m.sims[0].apnName; }, "апн"},
    };
    for (const Case& c : cases) {
        auto lines = test::crlfLines(expectedFile());
        lines[static_cast<std::size_t>(c.change.line - 1)] = c.change.text;
        SettingsFileContent loaded;
        ASSERT_TRUE(parseSettingsFile(joinFile(lines), loaded)) << c.change.text;
        EXPECT_EQ(c.field(loaded.image), c.expected) << c.change.text;
    }
}

TEST(SettingsFile, RefusesAMalformedFileAndChangesNothing) {
    const std::vector<Changed> cases = {
        {1,
         "\x01\x02\x04"
         "Created: 07.12.2026"},     // no marker
        {5, "1FF"},                  // a byte with three digits
        {34, "10000"},               // too large for two bytes
        {5, "0x05"},                 // not hexadecimal
        {6, ""},                     // empty number
        {9, "12345"},                // PIN of five characters
        {10, "628405170"},           // PUK of nine
        {11, "1000"},                // USSD of four
        {30, "12345"},               // user password of five
        {13, std::string(25, 'a')},  // access point name over 24
        {93, std::string(25, 'a')},  // server DNS name over 24 before a blank
        {81, "Gprs"},                // the GPRS section is never found
    };
    for (const Changed& c : cases) {
        auto lines = test::crlfLines(expectedFile());
        lines[static_cast<std::size_t>(c.line - 1)] = c.text;
        SettingsFileContent content;
        content.image.users[0].password = "kept";
        EXPECT_FALSE(parseSettingsFile(joinFile(lines), content)) << c.line << ": " << c.text;
        EXPECT_EQ(content.image.users[0].password, "kept");
    }
}

// A value as the settings hold it, the line a backup writes for it, and what becomes of that
// line: read back as held (but for a line break, which no line carries), and named with its
// line when a restore must not write it or the backup could not keep it.
TEST(SettingsFile, EachValueIsWrittenAsHeldAndJudgedOnlyForWriting) {
    using Field = std::function<std::string&(TSettingsImage&)>;
    struct Case {
        int line;
        Field field;
        std::string held;
        std::string written;  // the line without its padding
        std::string problem;  // empty when the value goes on as it is
    };
    auto user = [](int n) -> Field {
        return [n](TSettingsImage& m) -> std::string& { return m.users[n - 1].password; };
    };
    auto sim = [](int k, std::string SimRecord::*code) -> Field {
        return [k, code](TSettingsImage& m) -> std::string& { return m.sims[k - 1].*code; };
    };
    const Field apnLogin = [](TSettingsImage& m) -> std::string& { return m.sims[0].apnLogin; };
    const Field gprsPassword = [](TSettingsImage& m) -> std::string& { return m.gprsAuthPassword; };
    const std::string notFour = " — не четыре цифры";
    const std::string nul("12\0\0", 4);
    const std::vector<Case> cases = {
        {30, user(1), "1234", "1234", ""},
        {75, user(6), "12a4", "12a4", "строка 75, User6, Пароль: \"12a4\"" + notFour},
        {66, user(5), "123", "123", "строка 66, User5, Пароль: \"123\"" + notFour},
        {30, user(1), "", "", "строка 30, User1, Пароль: \"\"" + notFour},
        {30, user(1), "12 4", "12 4", "строка 30, User1, Пароль: \"12 4\"" + notFour},
        {9, sim(1, &SimRecord::pin), "ab", "ab", "строка 9, SIM1, PIN-код: \"ab\"" + notFour},
        // A text ends at its padding, not at a NUL: the NUL bytes are the value's own.
        {9, sim(1, &SimRecord::pin), nul, nul,
         "строка 9, SIM1, PIN-код: \"12\\x00\\x00\"" + notFour},
        {20, sim(2, &SimRecord::puk), "6284051", "6284051",
         "строка 20, SIM2, PUK-код: \"6284051\" — не восемь цифр"},
        {14, apnLogin, "a\x1B\x07\"b", "a\x1B\x07\"b", ""},
        {88, gprsPassword, "p\nq\r", "p?q?",
         "строка 88, GPRS, Авторизация Пароль: \"p\\x0Aq\\x0D\" — перевод строки записан в "
         "файл как \"?\""},
    };
    for (const Case& c : cases) {
        SettingsFileContent held = sample();
        c.field(held.image) = c.held;
        const std::string file = composeSettingsFile(held);
        const auto lines = test::crlfLines(file);
        ASSERT_EQ(lines.size(), 94u) << c.held;
        const std::string& line = lines[static_cast<std::size_t>(c.line - 1)];
        EXPECT_EQ(line.substr(0, line.find_last_not_of(' ') + 1), c.written) << c.held;

        // Read back as written; the lines for people are not read.
        SettingsFileContent read = held;
        read.image = {};
        ASSERT_TRUE(parseSettingsFile(file, read)) << c.held;
        const std::string& value = c.field(read.image);  // an access point keeps its padding
        EXPECT_EQ(value.substr(0, value.find_last_not_of(' ') + 1), c.written);
        EXPECT_EQ(composeSettingsFile(read), file) << c.held;

        const auto unwritable = firstUnwritableValue(file);
        const auto breaks = lineBreakProblems(held);
        EXPECT_EQ(breaks.size(), c.written != c.held ? 1u : 0u) << c.held;
        const std::string problem = !breaks.empty() ? problemText(breaks.front())
                                    : unwritable    ? problemText(*unwritable)
                                                    : "";
        EXPECT_EQ(problem, c.problem);
    }
}

TEST(SettingsFile, RefusesAFileCutShortInsideASection) {
    auto lines = test::crlfLines(expectedFile());
    lines.resize(88);
    SettingsFileContent content;
    EXPECT_FALSE(parseSettingsFile(joinFile(lines), content));
    EXPECT_FALSE(parseSettingsFile("", content));
}

}  // namespace
}  // namespace zelar
