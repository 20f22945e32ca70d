#include "provision/provision_values.h"

#include <gtest/gtest.h>

#include <string>

#include "script/script_parser.h"

namespace zelar::cli {
namespace {

ProvisionValues sample() {
    const ValuesLoad load = parseValues(
        "\xEF\xBB\xBFkey,OBJECT,NOTE\r\n"
        "COM33,17,\"a, \"\"quoted\"\" note\\\"\n"
        "\n"
        "7204518,99,\"two\nlines\"\n");
    EXPECT_TRUE(load.values) << load.error;
    return load.values.value_or(ProvisionValues{});
}

TEST(ProvisionValues, PutsInThePortAndTheModemsRowByPortElseBySerialNumber) {
    const ProvisionValues values = sample();
    struct Case {
        const char* script;
        const char* port;
        const char* serial;
        const char* text;
        const char* error;  // a part of the message; empty when the script is completed
    };
    const Case cases[] = {
        {"port ${PORT}\n", "COM40", "", "port COM40\n", ""},
        {"set EditMainObj ${OBJECT} \"# ${NOTE}\" ${OBJECT}", "COM33", "7204518",
         R"(set EditMainObj 17 "# a, \"quoted\" note\\" 17)", ""},
        {"set EditMainObj \"${OBJECT}\" ${NOTE}", "COM33", "", "", "holds a \": write \"${NOTE}\""},
        // Escapes inside quotes, and a quote left open, end with their word or their line.
        {R"(set X "\"${OBJECT}\\\\" ${NOTE})", "COM33", "", "", "holds a \""},
        {R"(set X "\"${NOTE})", "COM33", "", R"(set X "\"a, \"quoted\" note\\)", ""},
        {"set X \"${OBJECT}\nset Y ${NOTE}", "COM33", "", "", "holds a \""},
        {"set EditMainObj ${OBJECT}", "COM34", "7204518", "set EditMainObj 99", ""},
        {"set EditMainObj ${OBJECT}", "COM34", "1111111", "", "no row for COM34"},
        {"set EditMainObj ${OBJEKT}", "COM33", "", "", "${OBJEKT}, which is neither PORT nor"},
        {"set EditMainObj ${OBJECT", "COM33", "", "", "a ${ without its }"},
        {"set EditSim1APN ${NOTE}", "COM34", "7204518", "", "holds a line break"},
        {"# only ${PORT}, no column", "COM34", "1111111", "# only COM34, no column", ""},
    };
    for (const Case& c : cases) {
        const Substitution s =
            substituteValues(c.script, c.port, &values, findValuesRow(values, c.port, c.serial));
        EXPECT_EQ(s.text, c.text) << c.script;
        EXPECT_NE(s.error.find(c.error), std::string::npos) << c.script << ": " << s.error;
        EXPECT_EQ(s.error.empty(), std::string(c.error).empty()) << c.script;
    }
    // The script reads a value in quotes back as the file holds it.
    std::string error;
    const auto words = splitScriptWords(
        substituteValues("set X \"${NOTE}\"", "COM33", &values, &values.rows[0]).text, error);
    EXPECT_EQ(words.value_or(std::vector<std::string>(3)).at(2), values.rows[0][2]) << error;
    EXPECT_NE(substituteValues("${OBJECT}", "COM33", nullptr, nullptr).error.find("no values file"),
              std::string::npos);
}

TEST(ProvisionValues, ReadsAFileThatIsNoUtf8AsWindows1251) {
    const ValuesLoad load = parseValues("port;APN\r\nCOM7;\xE8\xED\xF2\xE5\xF0\xED\xE5\xF2\r\n");
    ASSERT_TRUE(load.values) << load.error;
    EXPECT_EQ(load.values->rows.at(0).at(1), "интернет");
}

TEST(ProvisionValues, RefusesAFileThatNamesNoModemClearly) {
    const std::pair<const char*, const char*> cases[] = {
        {"key,A\nCOM1,1,2\n", "row 2: 3 fields for 2 columns"},
        {"key,A\nCOM1,1\nCOM1,2\n", "row 3: its key 'COM1' is empty or given twice"},
        {"key,PORT\n", "a column named PORT"},
        {"key,A,A\n", "the column A is named twice"},
        {"key;A\nCOM1;\"1\"x\n", "line 2: text after the closing quote"},
        {"key,A\nCOM1,\"1\n", "a quote that is never closed"},
    };
    for (const auto& [csv, error] : cases) {
        const std::string refusal = parseValues(csv).error;
        EXPECT_NE(refusal.find(error), std::string::npos) << csv << ": " << refusal;
    }
}

}  // namespace
}  // namespace zelar::cli
