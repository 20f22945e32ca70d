#include <sys/wait.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "file_text.h"
#include "sim_process.h"

// zelar-cli script against the real zelar-sim on a pseudo-terminal.
namespace {

namespace fs = std::filesystem;
using zelar::test::SimProcess;

struct ScriptRun {
    int status = -1;
    std::string out;
    std::string err;
};

using zelar::test::slurp;

class CliScript : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("zelar-cli-script-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(ports());
    }
    void TearDown() override { fs::remove_all(dir_); }

    fs::path ports() const { return dir_ / "Kalvimo" / "Zelar2" / "ports"; }

    // Runs zelar-cli with the arguments, collecting stdout and stderr apart.
    ScriptRun cli(const std::string& arguments) {
        const fs::path out = dir_ / "out.txt";
        const fs::path err = dir_ / "err.txt";
        const std::string command = "XDG_CONFIG_HOME='" + dir_.string() +
                                    "' '" ZELAR_CLI_PATH "' " + arguments + " >'" + out.string() +
                                    "' 2>'" + err.string() + "'";
        const int status = std::system(command.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, slurp(out), slurp(err)};
    }
    // Writes a file into the test's folder; its path.
    fs::path file(const std::string& name, const std::string& bytes) {
        std::ofstream(dir_ / name, std::ios::binary) << bytes;
        return dir_ / name;
    }
    ScriptRun script(const std::string& options, const std::string& text) {
        return cli("script " + options + " '" + file("run.script", text).string() + "'");
    }

    fs::path dir_;
};

// Text from a modem or a file may hold terminal controls; the JSON stays valid UTF-8 and
// carries no raw control.
TEST_F(CliScript, JsonDumpEscapesControls) {
    SimProcess sim({"--ports-dir", ports().string(), "--com", "45"});
    // U+009B is a control that UTF-8 carries; ESC is no key, so it is not typed.
    const ScriptRun run = script("--port COM45 --user 1 --password 1234 --fast --json",
                                 "select TreeView1 \"Настройка модема\"\n"
                                 "select PageControl1 \"Настройка SIM-карт\"\n"
                                 "check AutoSetPar1 0\n"
                                 "set EditSim1APN \"a\xC2\x9B\x1B\"\n"
                                 "dump EditSim1APN\n");
    EXPECT_EQ(run.status, 0) << run.err;
    for (const char* raw : {"\x1B", "\xC2\x9B"})
        EXPECT_EQ(run.out.find(raw), std::string::npos) << run.out;
    const auto json = nlohmann::json::parse(run.out);
    EXPECT_EQ(json["sections"][0]["controls"][0]["value"], "a\u009B");
}

TEST_F(CliScript, ChangesAUserAndASimAndReadsThemBack) {
    SimProcess sim({"--ports-dir", ports().string(), "--com", "44"});
    ASSERT_EQ(sim.line().substr(0, 6), "COM44 ");

    const ScriptRun run = script("--port COM44 --user 1 --password 1234", R"(
# user 3 gets a new phone number
select TreeView1 "#3"
set EditUserTel +79035550003
click ButtonWriteNastr

# SIM 1 gets its own access point
select TreeView1 "Настройка модема"
select PageControl1 "Настройка SIM-карт"
check AutoSetPar1 0
set EditSim1APN "internet.script"
click ButtonWriteNastr

# read again and log in as the window would
click btnReadNastUser
select cbUser 1
set EditPassword 1234
click ButtonApplyPassword
select TreeView1 "#3"
expect EditUserTel +79035550003
select TreeView1 "Настройка модема"
select PageControl1 "Настройка SIM-карт"
expect AutoSetPar1 0
expect EditSim1APN internet.script
dump EditSim1APN
)");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "EditSim1APN: internet.script\n");
}

TEST_F(CliScript, VerifyCatchesAModemThatChangesAByteAfterOK) {
    // The fifth write of the SIM page is SIM 1's access point name.
    SimProcess sim({"--ports-dir", ports().string(), "--com", "46", "--fault", "alter:16@5"});
    ASSERT_EQ(sim.line().substr(0, 6), "COM46 ");
    const ScriptRun run = script("--port COM46 --user 1 --password 1234 --verify --fast", R"(
select TreeView1 "Настройка модема"
select PageControl1 "Настройка SIM-карт"
check AutoSetPar1 0
click ButtonWriteNastr
)");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("[Модем] Проверка записи: в модеме другое значение поля «Точка "
                           "доступа APN» (Настройка SIM-карт, SIM 1)\n"),
              std::string::npos)
        << run.err;
}

// A script that stops midway names what it stored, in a modem or a settings file, and then
// exits with 1: 2 is kept for a script that changed nothing.
TEST_F(CliScript, StoppedMidwayItNamesWhatItStored) {
    SimProcess sim({"--ports-dir", ports().string(), "--com", "47"});
    const fs::path md2 = dir_ / "site.md2";
    ASSERT_EQ(cli("new '" + md2.string() + "'").status, 0);
    const std::string modem = "--port COM47 --fast --user 1 --password 1234";
    const std::string file = "--file '" + md2.string() + "' --user 1 --password 7391";
    const std::string store =
        "select TreeView1 \"#2\"\ncheck cbUserON 1\nset EditUserTel +79990000002\n"
        "click ButtonWriteNastr\n";
    // EditSIM1USSD is disabled while SIM 1's settings are detected automatically.
    const std::string stop =
        "select TreeView1 \"Настройка модема\"\n"
        "select PageControl1 \"Настройка SIM-карт\"\nset EditSIM1USSD 1\n";
    const struct {
        const char* name;
        std::string options;
        std::string script;
        int status;
        std::string said;  // after the line that stopped it
    } rows[] = {
        {"a modem that took a user", modem, store + stop, 1,
         "line 7: EditSIM1USSD is disabled\nzelar-cli: written: user 2\n"},
        {"a file that holds a user", file, store + stop, 1,
         "line 7: EditSIM1USSD is disabled\nzelar-cli: stored in " + md2.string() +
             ": Пользователи #2\n"},
        {"a modem that took nothing", modem, stop, 2, "line 3: EditSIM1USSD is disabled\n"},
        {"a file written again with the values it held", file, store + stop, 2,
         "line 7: EditSIM1USSD is disabled\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const ScriptRun run = script(row.options, row.script);
        EXPECT_EQ(run.status, row.status);
        const auto line = run.err.rfind("line ");
        ASSERT_NE(line, std::string::npos) << run.err;
        EXPECT_EQ(run.err.substr(line), row.said);
    }
}

TEST_F(CliScript, UnknownControlExitsBeforeTalkingToTheModem) {
    SimProcess sim({"--ports-dir", ports().string(), "--com", "45"});
    const ScriptRun run =
        script("--port COM45 --user 1 --password 1234", "click btnReadNastUser\nclick NoSuch\n");
    EXPECT_EQ(run.status, 2);
    // Neither the read's progress nor any message: the modem heard nothing.
    EXPECT_EQ(run.err, "line 2: unknown control 'NoSuch'\n");
    EXPECT_EQ(run.out, "");
}

TEST_F(CliScript, AByteOrderMarkIsSkippedAndControlBytesArePrintedEscaped) {
    const ScriptRun run = script("", "\xEF\xBB\xBFwait 1\nbogus\x1B[2J\xC2\x9B\n");
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "line 2: unknown action 'bogus\\x1B[2J\\u009B'\n");
}

TEST_F(CliScript, TheHelpListsTheActionsInAColumn) {
    // A usage wider than the column is followed by two blanks; further lines align with the text.
    const ScriptRun run = cli("script --help");
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("\n        click CONTROL              presses a button\n"
                           "        key CONTROL Enter          presses Enter in a field\n"
                           "        answer Yes|No|OK|Cancel|Retry  answers the next question\n"),
              std::string::npos)
        << run.out;
    EXPECT_NE(
        run.out.find("\n        check CONTROL 0|1          clicks a check box or radio button "
                     "when its state\n                                   differs;"),
        std::string::npos);
}

TEST_F(CliScript, DictionaryUploadOfAShortRpiPlusFile) {
    SimProcess sim({"--ports-dir", ports().string(), "--com", "46"});
    const fs::path dictionary =
        file("rpi.txt", "Protocol=1\t\t\t\r\n:\t1024\t400\tA\t3\r\n:\t5\t5\tB\t1\r\n");
    const ScriptRun run = cli("dict-upload --port COM46 --user 1 --password 1234 --yes '" +
                              dictionary.string() + "'");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("[Модем] Записываем словарь для протокола RPI+"), std::string::npos);
    EXPECT_NE(run.err.find("[Модем] Запись словаря успешно завершена"), std::string::npos);
}

}  // namespace
