#include <sys/wait.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "file_text.h"
#include "sim_process.h"

// zelar-cli against the real zelar-sim on a pseudo-terminal.
namespace {

namespace fs = std::filesystem;
using zelar::test::SimProcess;

struct CommandRun {
    int status = -1;
    std::string out;
};

// Runs a shell command line and collects its stdout.
CommandRun run(const std::string& command) {
    CommandRun result;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr)
        return result;
    char buffer[4096];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        result.out.append(buffer, got);
    const int status = ::pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

class CliRead : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("zelar-cli-e2e-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(ports());
    }
    void TearDown() override { fs::remove_all(dir_); }

    fs::path ports() const { return dir_ / "Kalvimo" / "Zelar2" / "ports"; }
    CommandRun cli(const std::string& args, const std::string& environment = "") {
        return run(environment + "XDG_CONFIG_HOME='" + dir_.string() + "' '" ZELAR_CLI_PATH "' " +
                   args + " 2>/dev/null");
    }
    // The same, collecting stderr instead.
    CommandRun cliErr(const std::string& args) {
        return run("XDG_CONFIG_HOME='" + dir_.string() + "' '" ZELAR_CLI_PATH "' " + args +
                   " 2>&1 >/dev/null");
    }
    static std::string com(const SimProcess& sim) {
        return sim.line().substr(0, sim.line().find(' '));
    }

    fs::path dir_;
};

bool hasLine(const std::string& text, const std::string& line) {
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);) {
        if (l == line)
            return true;
    }
    return false;
}

TEST_F(CliRead, TraceHoldsBothDirectionsOfTheLink) {
    SimProcess sim({"--ports-dir", ports().string(), "--com", "43"});
    const fs::path trace = dir_ / "trace.txt";
    EXPECT_EQ(cli("read --port COM43 --trace '" + trace.string() + "'").status, 0);
    std::ifstream in(trace);
    std::string first;
    std::getline(in, first);
    EXPECT_NE(first.find(" main open COM43 "), std::string::npos) << first;
    int sent = 0;
    int received = 0;
    for (std::string line; std::getline(in, line);) {
        sent += line.find(" main > ") != std::string::npos;
        received += line.find(" main < ") != std::string::npos;
    }
    EXPECT_GT(sent, 0);
    EXPECT_GT(received, 0);
    EXPECT_EQ(cli("ports --trace '" + (dir_ / "no" / "such" / "t").string() + "'").status, 2);
}

TEST_F(CliRead, ReadsAndLogsInPrintingWhatTheWindowShows) {
    SimProcess sim({"--ports-dir", ports().string(), "--com", "42"});
    ASSERT_EQ(com(sim), "COM42");

    const CommandRun ports = cli("ports");
    EXPECT_EQ(ports.status, 0);
    // The tool tip's device follows the name: the simulator's pseudo-terminal.
    std::string pty = sim.line().substr(sim.line().find(' ') + 1);
    pty.pop_back();  // the line's end
    EXPECT_TRUE(hasLine(ports.out, "COM42\t" + fs::canonical(pty).string())) << ports.out;

    const CommandRun read = cli("read --port COM42 --user 1 --password 1234");
    EXPECT_EQ(read.status, 0) << read.out;
    const std::string& o = read.out;
    EXPECT_EQ(o.rfind("[identification]\nStaticTextSN: Серийный номер: 7204518\n", 0), 0u) << o;
    EXPECT_TRUE(hasLine(o, "StaticTextVer: ПО контроллера: 2.05"));
    EXPECT_TRUE(hasLine(o, "EditIMEI: IMEI: 356938035643809"));
    EXPECT_TRUE(hasLine(o, "StatusBar: Пароль принят"));
    EXPECT_TRUE(hasLine(o, "StaticTextInformation: Пароль принят.Статус пользователя:Мастер"));
    EXPECT_TRUE(hasLine(o, "EditSim1Pin1: 4951"));
    EXPECT_TRUE(hasLine(o, "EditGPRSLogin: Склад_Север"));
    EXPECT_TRUE(hasLine(o, "ComBoxTestGPRS:  1  мин."));
    EXPECT_TRUE(hasLine(o, "EditMainObj: 1234"));
    EXPECT_TRUE(hasLine(o, "ComBoxWorkAs: Оконечное устройство"));
    EXPECT_TRUE(hasLine(o, "[user 6]"));
    EXPECT_TRUE(hasLine(o, "EditUserPassword: 5678"));
    EXPECT_TRUE(hasLine(o, "EditGPRSWWW2: reserve.example.ru"));
    EXPECT_NE(o.find("[modem]\n"), std::string::npos);
}

TEST_F(CliRead, FastExchangePrintsWhatTheUsualReadPrints) {
    SimProcess sim({"--ports-dir", ports().string(), "--com", "45"});
    const CommandRun usual = cli("read --port COM45 --state --user 1 --password 1234");
    const CommandRun fast = cli("read --port COM45 --state --user 1 --password 1234 --fast");
    EXPECT_EQ(fast.status, 0);
    EXPECT_EQ(fast.out, usual.out);
}

TEST_F(CliRead, StateMarksAndFailures) {
    SimProcess sim({"--ports-dir", ports().string(), "--com", "43"});
    const CommandRun read = cli("read --port COM43 --state --user 1 --password 1234");
    EXPECT_EQ(read.status, 0);
    EXPECT_TRUE(hasLine(read.out, "EditSIM1USSD: 100 [disabled]")) << read.out;
    EXPECT_TRUE(hasLine(read.out, "CheckBoxSim1Vkl: 1 [enabled] [hidden]"));
    // A refused password fails the run; what the window shows without a login (identification
    // and status) is printed all the same. A failed read prints nothing.
    const CommandRun refused = cli("read --port COM43 --user 1 --password 9999");
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(hasLine(refused.out, "StaticTextVer: ПО контроллера: 2.05")) << refused.out;
    EXPECT_EQ(refused.out.find("[modem]"), std::string::npos) << refused.out;
    EXPECT_EQ(refused.out.find("[user"), std::string::npos) << refused.out;

    const CommandRun failed = cli("read --port COM99");
    EXPECT_EQ(failed.status, 1);
    EXPECT_EQ(failed.out, "");
    EXPECT_EQ(cli("read").status, 2);
    EXPECT_EQ(cli("read --port COM43 --user 7 --password 1234").status, 2);
    EXPECT_EQ(cli("frobnicate").status, 2);
    EXPECT_EQ(cli("--help").status, 0);
}

TEST_F(CliRead, DiagPrintsTheModemsFigures) {
    SimProcess sim({"--ports-dir", ports().string(), "--com", "44", "--balance", "50",
                    "--current-sim", "1", "--fault-flags", "0x0205", "--signal-levels", "7,31,99"});
    // The separator follows the locale; the C locale's is a point.
    const CommandRun diag = cli("diag --port COM44", "LC_ALL=C ");
    EXPECT_EQ(diag.status, 0) << diag.out;
    const std::string& o = diag.out;
    EXPECT_TRUE(hasLine(o, "StaticTextNumSimCard: Текущая Sim: Резервная")) << o;
    EXPECT_TRUE(hasLine(o, "StaticTextBalanceStatus: Статус Sim: Определен"));
    EXPECT_TRUE(hasLine(o, "StaticTextBalanceSim: Баланс: 50.00"));
    EXPECT_TRUE(hasLine(o, "CheckBoxErr5V: 1"));
    EXPECT_TRUE(hasLine(o, "CheckBoxErr12V: 0"));
    EXPECT_TRUE(hasLine(o, "CheckBoxErrCheckFlash: 1"));
    EXPECT_TRUE(hasLine(o, "StaticTextQuality: Уровень: 23%"));
    EXPECT_TRUE(hasLine(o, "PanelQ2: 1"));
    EXPECT_TRUE(hasLine(o, "PanelQ3: 0"));

    // The meter on the program's own clock, through the real port: a line a second, the closing
    // line and the samples for a spreadsheet.
    const fs::path csv = ports().parent_path() / "watch.csv";
    const CommandRun watch =
        cli("diag --port COM44 --watch --count 3 --csv '" + csv.string() + "'");
    EXPECT_EQ(watch.status, 0) << watch.out;
    const std::string faults = "  Ошибка 5В, Ошибка VDDExt, Ошибка КС PROC\n";
    for (const std::string line :
         {"  100%  ####################", "  не определен  ....................",
          "   23%  #####..............."})
        EXPECT_NE(watch.out.find(line + faults), std::string::npos) << line << '\n' << watch.out;
    EXPECT_TRUE(hasLine(watch.out, "Мин.: 23%, макс.: 100%, среднее: 62%, пропущено ответов: 0"));
    const std::string rows = zelar::test::slurp(csv);
    EXPECT_EQ(rows.substr(0, rows.find('\n') + 1), "time,level,percent,faults\r\n");
    EXPECT_NE(rows.find(",99,,0x0205\r\n"), std::string::npos) << rows;

    const CommandRun failed = cli("diag --port COM98");
    EXPECT_EQ(failed.status, 1);
    EXPECT_TRUE(hasLine(failed.out, "StaticTextBalanceSim: Баланс:")) << failed.out;
    EXPECT_EQ(cli("diag").status, 2);
}

// The text form of a command's JSON object: its sections and differences as the lines print them.
std::string textOfJson(const std::string& out, bool withState) {
    const auto json = nlohmann::json::parse(out);
    std::string text;
    for (const auto& section : json.at("sections")) {
        if (!section.at("name").get<std::string>().empty())
            text += "[" + section.at("name").get<std::string>() + "]\n";
        for (const auto& c : section.at("controls")) {
            text += c.at("name").get<std::string>() + ": " + c.at("value").get<std::string>();
            if (withState) {
                text += c.at("enabled").get<bool>() ? " [enabled]" : " [disabled]";
                text += c.at("hidden").get<bool>() ? " [hidden]" : "";
            }
            text += "\n";
        }
    }
    for (const auto& d : json.value("differences", nlohmann::json::array())) {
        const auto& names = json.at("compared");
        text += d.at("page").get<std::string>() + " / " + d.at("field").get<std::string>() + ": " +
                names[0].get<std::string>() + " \"" + d.at("values")[0].get<std::string>() +
                "\", " + names[1].get<std::string>() + " \"" +
                d.at("values")[1].get<std::string>() + "\"\n";
    }
    return text;
}

TEST_F(CliRead, JsonCarriesTheTextsLinesAndExitStatus) {
    SimProcess sim({"--ports-dir", ports().string(), "--com", "45"});
    const std::string file = (dir_ / "other.md2").string();
    ASSERT_EQ(cli("backup --port COM45 --user 1 --password 1234 '" + file + "'").status, 0);
    {  // The file then differs from the modem in the first user's password.
        std::ifstream in(file);
        std::string saved((std::istreambuf_iterator<char>(in)), {});
        saved.replace(saved.find("1234"), 4, "4321");
        std::ofstream(file) << saved;
    }
    const struct {
        std::string args;
        bool withState;
        int status;
    } kRuns[] = {
        {"read --port COM45 --user 1 --password 1234 --state", true, 0},
        {"read --port COM45 --user 1 --password 9999", false, 1},
        {"read --port COM97", false, 1},
        {"diag --port COM45", false, 0},
        {"verify --port COM45 --user 1 --password 1234 '" + file + "'", false, 1},
    };
    for (const auto& run : kRuns) {
        SCOPED_TRACE(run.args);
        // The protocol gives the diagnostics' replies 100 ms and two blocks of the read 300 ms.
        // On a loaded machine the simulator may get no processor for that long, and the modem
        // "does not answer" in one run of the pair: a fact of the line, not of the two forms of
        // output compared here. Such a pair is run again; a difference that stays is a fault.
        CommandRun text;
        CommandRun json;
        for (int attempt = 0; attempt < 5; ++attempt) {
            text = cli(run.args + " --fast");
            json = cli(run.args + " --fast --json");
            if (text.status == run.status && json.status == run.status &&
                textOfJson(json.out, run.withState) == text.out)
                break;
        }
        EXPECT_EQ(text.status, run.status);
        EXPECT_EQ(json.status, run.status);
        EXPECT_EQ(textOfJson(json.out, run.withState), text.out);
        EXPECT_EQ(nlohmann::json::parse(json.out).at("ok"), text.status == 0);
    }
}

TEST_F(CliRead, OperatingModeThenFactoryDefaults) {
    SimProcess sim({"--ports-dir", ports().string(), "--com", "44"});
    const std::string login = " --port COM44 --user 1 --password 1234";
    EXPECT_EQ(cli("mode terminal" + login).status, 1);  // the question is cancelled
    EXPECT_EQ(cli("mode terminal" + login + " --yes").status, 0);
    EXPECT_EQ(cli("mode" + login).status, 2);
    // The restarted modem answers again once its boot loader has given up waiting.
    ::sleep(4);
    // Without --yes nothing is sent: the passwords stay as they were.
    EXPECT_EQ(cli("defaults --port COM44").status, 2);
    EXPECT_EQ(cli("read --port COM44 --user 1 --password 1234").status, 0);
    EXPECT_EQ(cli("defaults --port COM44 --yes").status, 0);

    const CommandRun read = cli("read --port COM44 --user 1 --password 7391");
    EXPECT_EQ(read.status, 0) << read.out;
    EXPECT_TRUE(hasLine(read.out, "ComBoxWorkAs: Терминал")) << read.out;
    EXPECT_TRUE(hasLine(read.out, "EditMainObj: -?-"));
    EXPECT_TRUE(hasLine(read.out, "EditGPRSDNS2: 77.88.8.8"));
}

TEST_F(CliRead, ReadPrintsOnlyThePagesTheRoleMayOpen) {
    SimProcess sim({"--ports-dir", ports().string(), "--com", "46"});
    // User 3 is "Охранник": his own page only, none of the modem's.
    const CommandRun guard = cli("read --port COM46 --user 3 --password 0000");
    EXPECT_EQ(guard.status, 0);
    EXPECT_TRUE(hasLine(guard.out, "[user 3]")) << guard.out;
    EXPECT_TRUE(hasLine(guard.out, "EditUserPassword: 0000"));
    EXPECT_FALSE(hasLine(guard.out, "[user 1]"));
    EXPECT_FALSE(hasLine(guard.out, "EditUserPassword: 1234"));
    EXPECT_FALSE(hasLine(guard.out, "[modem]"));
    EXPECT_EQ(guard.out.find("EditSim1Pin1"), std::string::npos);

    // User 2 is "Хозяин": the voice call page and the guards' pages, not the SIM cards.
    const CommandRun owner = cli("read --port COM46 --user 2 --password 5678");
    EXPECT_TRUE(hasLine(owner.out, "[modem]")) << owner.out;
    EXPECT_NE(owner.out.find("EditECallN1: "), std::string::npos);
    EXPECT_EQ(owner.out.find("EditSim1Pin1"), std::string::npos);
    EXPECT_TRUE(hasLine(owner.out, "[user 4]"));
    EXPECT_FALSE(hasLine(owner.out, "[user 1]"));
}

TEST_F(CliRead, TraceAppendsAndNeverTakesTheCommandsOwnFile) {
    SimProcess sim({"--ports-dir", ports().string(), "--com", "47"});
    const fs::path trace = dir_ / "trace.txt";
    std::ofstream(trace) << "an earlier run\n";
    EXPECT_EQ(cli("read --port COM47 --trace '" + trace.string() + "'").status, 0);
    std::ifstream in(trace);
    std::string first;
    std::getline(in, first);
    EXPECT_EQ(first, "an earlier run");
    EXPECT_TRUE(std::getline(in, first));

    const fs::path settings = dir_ / "a.md2";
    std::ofstream(settings) << "the settings file\r\n";
    fs::create_symlink(settings, dir_ / "link.md2");
    for (const fs::path& name : {settings, dir_ / "." / "a.md2", dir_ / "link.md2"}) {
        const CommandRun refused = cliErr("restore --port COM47 --user 1 --password 1234 --yes '" +
                                          settings.string() + "' --trace '" + name.string() + "'");
        EXPECT_EQ(refused.status, 2) << name;
        // Refused before the port was opened.
        EXPECT_EQ(refused.out.find("progress"), std::string::npos) << refused.out;
    }
    std::ifstream kept(settings, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "the settings file\r\n");
}

TEST_F(CliRead, APortThatCannotBeOpenedSaysWhy) {
    // A port the list does not hold, a port whose device is gone, and a side of diff.
    fs::create_symlink(dir_ / "no-such-device", ports() / "COM48");
    const std::pair<std::string, std::string> cases[] = {
        {"read --port COM97", "COM97"},
        {"read --port COM48", "COM48"},
        {"diff --user 1 --password 1234 COM97 COM48", "COM97"}};
    for (const auto& [command, port] : cases) {
        const CommandRun run = cliErr(command);
        EXPECT_NE(run.status, 0);
        EXPECT_NE(
            run.out.find("[Модем] Не могу открыть порт\nzelar-cli: " + port + ": no such device\n"),
            std::string::npos)
            << command << "\n"
            << run.out;
    }
}

// Writes `bytes` into the settings memory of a simulator's state file at `address`.
void patchState(const fs::path& state, std::size_t address, const std::string& bytes) {
    std::ifstream in(state);
    std::string text;
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("settings ", 0) == 0) {
            for (std::size_t i = 0; i < bytes.size(); ++i) {
                char hex[3];
                std::snprintf(hex, sizeof hex, "%02X", static_cast<unsigned char>(bytes[i]));
                line.replace(9 + 2 * (address + i), 2, hex);
            }
        }
        text += line + '\n';
    }
    in.close();
    std::ofstream(state) << text;
}

TEST_F(CliRead, OddBytesFromTheModemKeepEachOutputWhole) {
    using namespace std::string_literals;
    const fs::path state = dir_ / "modem.state";
    SimProcess({"--ports-dir", ports().string(), "--com", "48", "--state", state.string()}).stop();
    // The access point holds DEL, ESC, BEL, a line feed and Windows-1251 "Ж" (0xC6); the IMEI
    // is short, holds a line feed and starts like a formula.
    patchState(state, 0x00D8, "a\x7F\x1B\x07\n\xC6zbcdefghijklmnopq"s);  // all 24 bytes
    patchState(state, 0x07F0, "=1+2\n\0\0\0\0\0\0\0\0\0\0"s);
    SimProcess sim({"--ports-dir", ports().string(), "--com", "48", "--state", state.string()});
    const std::string read = "read --port COM48 --user 1 --password 1234";

    const CommandRun json = cli(read + " --json");
    EXPECT_EQ(json.status, 0);
    const auto parsed = nlohmann::json::parse(json.out, nullptr, false);
    ASSERT_FALSE(parsed.is_discarded()) << json.out;
    std::string apn;
    for (const auto& section : parsed["sections"]) {
        for (const auto& control : section["controls"]) {
            if (control["name"] == "EditSim1APN")
                apn = control["value"];
        }
    }
    EXPECT_EQ(apn, "a\x7F\x1B\x07\nЖzbcdefghijklmnopq");

    const CommandRun text = cli(read);
    EXPECT_TRUE(hasLine(text.out, "EditSim1APN: a\\x7F\\x1B\\x07\\x0AЖzbcdefghijklmnopq"))
        << text.out;
    // A text from the modem ends at its first NUL.
    EXPECT_TRUE(hasLine(text.out, "EditIMEI: IMEI: =1+2\\x0A")) << text.out;

    EXPECT_EQ(cli(read + " --json >/dev/full").status, 3);

    const fs::path report = dir_ / "report.csv";
    EXPECT_EQ(
        cli("provision --ports COM48 --user 1 --password 1234 --report '" + report.string() + "'")
            .status,
        0);
    std::ifstream in(report, std::ios::binary);
    const std::string csv((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(csv.find("\r\nCOM48,7204518,'=1+2\\x0A,2.05,ok,"), std::string::npos) << csv;
}

}  // namespace
