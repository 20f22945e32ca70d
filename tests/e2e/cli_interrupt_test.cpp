#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "file_text.h"
#include "sim_process.h"

// Ctrl+C in the middle of a long write: the exchange ends in order and says so, and a
// provisioning run still reports what became of each port.
namespace {

namespace fs = std::filesystem;
using zelar::test::SimProcess;

using zelar::test::slurp;

class CliInterrupt : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("zelar-cli-interrupt-" + std::to_string(::getpid()));
        fs::remove_all(dir_);
        fs::create_directories(ports());
    }
    void TearDown() override { fs::remove_all(dir_); }

    fs::path ports() const { return dir_ / "Kalvimo" / "Zelar2" / "ports"; }
    std::string file(const std::string& name) const { return (dir_ / name).string(); }

    // Starts zelar-cli with stdout and stderr into `out`, sends `signal` once `mark` is in
    // `watched` (by default `out`) and gives the exit status; -1 when it did not end within 10 s
    // of the signal (it is then killed).
    int interruptAt(const std::string& args, const std::string& mark, const fs::path& out,
                    fs::path watched = {}, int signal = SIGINT) {
        if (watched.empty())
            watched = out;
        const std::string command = "exec env XDG_CONFIG_HOME='" + dir_.string() + "' '" +
                                    ZELAR_CLI_PATH + "' " + args + " >'" + out.string() + "' 2>&1";
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::execl("/bin/sh", "sh", "-c", command.c_str(), nullptr);
            ::_exit(127);
        }
        const auto end = zelar::test::Clock::now() + std::chrono::seconds(20);
        while (slurp(watched).find(mark) == std::string::npos && zelar::test::Clock::now() < end)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        std::this_thread::sleep_for(std::chrono::milliseconds(500));  // into the writes
        ::kill(pid, signal);
        return exitStatus(pid, 10);
    }

    // The exit status of the child, or -1 when it has not ended within `seconds` (it is then
    // killed) or was killed.
    static int exitStatus(pid_t pid, int seconds) {
        int status = 0;
        const auto end = zelar::test::Clock::now() + std::chrono::seconds(seconds);
        while (::waitpid(pid, &status, WNOHANG) == 0) {
            if (zelar::test::Clock::now() > end) {
                ::kill(pid, SIGKILL);
                ::waitpid(pid, &status, 0);
                return -1;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    // Starts zelar-cli through the shell (`args` may hold redirections); its pid.
    pid_t start(const std::string& args) {
        const std::string command =
            "exec env XDG_CONFIG_HOME='" + dir_.string() + "' '" + ZELAR_CLI_PATH + "' " + args;
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::execl("/bin/sh", "sh", "-c", command.c_str(), nullptr);
            ::_exit(127);
        }
        return pid;
    }
    int cli(const std::string& args) { return exitStatus(start(args), 60); }

    // A new settings file of factory values (user 1 "Мастер", every password 7391).
    std::string newSettingsFile(const std::string& name) {
        const std::string path = file(name);
        EXPECT_EQ(cli("new '" + path + "' >/dev/null 2>&1"), 0);
        return path;
    }
    // A script that stores user `n`'s phone number into the file, with `then` after it.
    std::string storeUser(int n, const std::string& then = {}) {
        const std::string path = file("user" + std::to_string(n) + ".script");
        std::ofstream(path) << "select TreeView1 \"#" << n << "\"\n"
                            << "check cbUserON 1\n"
                            << "set EditUserTel +7999000000" << n << "\n"
                            << "click ButtonWriteNastr\n"
                            << then;
        return path;
    }
    // User n's phone number in the settings file, when it is one of the scripts'.
    static std::string phoneOf(const std::string& md2, int n) {
        const std::string text = slurp(md2);
        const auto section = text.find("User" + std::to_string(n) + "\r\n");
        const auto phone = text.find("+7999", section);
        if (section == std::string::npos || phone == std::string::npos ||
            text.find("User", section + 4) < phone)
            return "";
        return text.substr(phone, 12);
    }

    fs::path dir_;
};

// The bytes of a trace's lines of one link, joined into the runs of each direction in order:
// '>' sent, '<' received.
std::vector<std::pair<char, std::string>> traffic(const std::string& trace) {
    std::vector<std::pair<char, std::string>> runs;
    std::istringstream lines(trace);
    for (std::string line; std::getline(lines, line);) {
        const auto at = line.find(" main ");
        const auto bar = line.find('|');
        if (at == std::string::npos || bar == std::string::npos || at + 8 > bar)
            continue;
        const char direction = line[at + 6];
        std::istringstream hex(line.substr(at + 8, bar - at - 8));
        std::string bytes;
        for (unsigned value = 0; hex >> std::hex >> value;)
            bytes += static_cast<char>(value);
        if (runs.empty() || runs.back().first != direction)
            runs.emplace_back(direction, "");
        runs.back().second += bytes;
    }
    return runs;
}

TEST_F(CliInterrupt, EndsTheWriteInOrderAndProvisionReportsTheUnfinishedPorts) {
    SimProcess sim({"--ports-dir", ports().string(), "--com", "71"});
    const std::string login = " --user 1 --password 1234 ";
    ASSERT_EQ(std::system(("XDG_CONFIG_HOME='" + dir_.string() +
                           "' '" ZELAR_CLI_PATH "' backup --port COM71 --fast" + login +
                           file("site.md2") + " >/dev/null 2>&1")
                              .c_str()),
              0);

    // The terminal closed (SIGHUP) ends it as Ctrl+C does.
    for (const int signal : {SIGINT, SIGHUP}) {
        SCOPED_TRACE(signal);
        const std::string trace = file("trace" + std::to_string(signal) + ".txt");
        const fs::path out = dir_ / ("restore" + std::to_string(signal) + ".out");
        EXPECT_EQ(
            interruptAt("restore --port COM71 --yes --trace " + trace + login + file("site.md2"),
                        "Записать восстановленные настройки ?", out, {}, signal),
            1);
        const std::string said = slurp(out);
        EXPECT_NE(said.find("[Ошибка] Прервано\n"), std::string::npos) << said;
        EXPECT_NE(said.find("zelar-cli: interrupted\n"), std::string::npos) << said;
        // How far it got: the modem now holds a mix of old and new sections. The first write is
        // user 1's, taken or under way.
        const auto written = said.find("zelar-cli: written: ");
        ASSERT_NE(written, std::string::npos) << said;
        EXPECT_NE(said.substr(written, said.find('\n', written) - written).find("user 1"),
                  std::string::npos)
            << said;
        const std::string traced = slurp(trace);
        EXPECT_EQ(traced.substr(traced.rfind(' ', traced.size() - 2)), " close\n") << traced;
    }

    // The signal to the provisioning program alone: it ends its children itself.
    EXPECT_EQ(interruptAt("provision --ports COM71,COM72 --jobs 1 --template " + file("site.md2") +
                              login + "--report " + file("report.csv"),
                          "COM71: restore: started", dir_ / "provision.out"),
              1);
    const std::string report = slurp(file("report.csv"));
    EXPECT_NE(report.find("\r\nCOM71,7204518,356938035643809,2.05,failed,restore,прервано,"),
              std::string::npos)
        << report;
    EXPECT_NE(report.find("\r\nCOM72,,,,failed,read,прервано,0.0\r\n"), std::string::npos)
        << report;
}

// Ctrl+C during a long wait ends it at once, in order, with "Прервано": while flash waits for
// the boot loader (no identification read: the user is asked to restart the modem by hand, and
// does not), and while a read waits the 5 s for a reply that does not come.
struct LongWait {
    const char* name;
    std::string com;
    std::string fault;  // of the simulated modem
    std::string args;
    std::string mark;  // in the output, or with `inTrace` in the trace
    bool inTrace;
    std::string said;
    std::string notSaid;
    int signal = SIGINT;
};

TEST_F(CliInterrupt, EndsALongWait) {
    std::ofstream(file("fw.bin"), std::ios::binary)
        << std::string(1000, '\xFF') << "     Ver0206" << std::string(20, '\0');
    const LongWait rows[] = {
        {"flash, waiting for the boot loader", "73", "", "flash --wait 30 " + file("fw.bin"),
         "status: Перезапустите модем...", false, "[Ошибка] Прервано\nstatus: Прервано\n",
         "no boot loader"},
        {"read, waiting for a reply", "74", "silent:22", "read", "AT+V22", true,
         "[Ошибка] Прервано\n[Модем] Ошибка чтения настроек\n", "progress 1/26"},
        {"read, told to end", "75", "silent:22", "read", "AT+V22", true,
         "[Ошибка] Прервано\n[Модем] Ошибка чтения настроек\n", "progress 1/26", SIGTERM},
        {"read, its terminal closed", "76", "silent:22", "read", "AT+V22", true,
         "[Ошибка] Прервано\n[Модем] Ошибка чтения настроек\n", "progress 1/26", SIGHUP},
    };
    for (const LongWait& row : rows) {
        SCOPED_TRACE(row.name);
        std::vector<std::string> simArgs = {"--ports-dir", ports().string(), "--com", row.com};
        if (!row.fault.empty())
            simArgs.insert(simArgs.end(), {"--fault", row.fault});
        SimProcess sim(simArgs);
        const fs::path out = dir_ / (row.com + ".out");
        const std::string trace = file(row.com + ".trace");
        EXPECT_EQ(interruptAt(row.args + " --port COM" + row.com + " --trace " + trace, row.mark,
                              out, row.inTrace ? fs::path(trace) : fs::path(), row.signal),
                  1);
        const std::string said = slurp(out);
        EXPECT_NE(said.find(row.said), std::string::npos) << said;
        EXPECT_EQ(said.find(row.notSaid), std::string::npos) << said;
    }
}

// Output that can no longer be written ends a restore as an output error (3) once the section
// in flight is answered, instead of killing the program mid-write: a closed pipe (SIGPIPE) and a
// trace over the file size limit (SIGXFSZ). What the modem took is named while stderr takes it.
TEST_F(CliInterrupt, OutputThatCannotBeWrittenEndsARestoreAfterTheSectionInFlight) {
    SimProcess sim({"--ports-dir", ports().string(), "--com", "77"});
    const std::string login = " --port COM77 --user 1 --password 1234 ";
    const std::string site = file("site.md2");
    ASSERT_EQ(cli("backup --fast" + login + site + " >/dev/null 2>&1"), 0);
    const struct {
        const char* name;
        std::string wrapped;  // the command line, %s for zelar-cli's own arguments
        std::string said;     // on zelar-cli's stderr, when it has one to read; else the trace is
                              // whole and shows the last write answered
    } rows[] = {
        // Closed as the question comes, so the restore's own lines after it find no reader.
        {"stderr into a pipe closed early", "{ %s 2>&1; echo $? >status; } | head -n 28 >out", ""},
        // The read's trace takes about 14 KB, each section's write about 500 bytes more.
        {"a trace over the file size limit", "ulimit -f 30; %s 2>out; echo $? >status",
         "zelar-cli: cannot write the trace file"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string trace = file("trace.txt");
        fs::remove(trace);
        std::string command = row.wrapped;
        command.replace(command.find("%s"), 2,
                        "XDG_CONFIG_HOME='" + dir_.string() +
                            "' '" ZELAR_CLI_PATH "' restore --yes --fast --trace " + trace + login +
                            site);
        ASSERT_EQ(std::system(("cd '" + dir_.string() + "' && " + command).c_str()) != -1, true);
        EXPECT_EQ(slurp(dir_ / "status"), "3\n");
        if (row.said.empty()) {
            const auto runs = traffic(slurp(trace));
            // The last command sent is a settings write, and the modem's "OK" to it was read.
            ASSERT_GE(runs.size(), 2u);
            EXPECT_EQ(runs[runs.size() - 2].second.rfind("AT+V16", 0), 0u);
            EXPECT_NE(runs.back().second.find("OK"), std::string::npos);
            continue;
        }
        const std::string said = slurp(dir_ / "out");
        EXPECT_NE(said.find(row.said), std::string::npos) << said;
        EXPECT_NE(said.find("zelar-cli: written: user 1"), std::string::npos) << said;
        EXPECT_EQ(said.find("under way"), std::string::npos) << said;
    }
}

// Every signal that asks a program to end ends a script on a settings file within its wait,
// with "Прервано": the lines after it never run, and the script names what it stored before.
TEST_F(CliInterrupt, ASignalEndsAScriptOnAFileNamingWhatItStored) {
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        SCOPED_TRACE(signal);
        const std::string md2 = newSettingsFile("signal" + std::to_string(signal) + ".md2");
        const std::string second =
            "select TreeView1 \"#3\"\nset EditUserTel +79990000003\n"
            "click ButtonWriteNastr\n";
        const fs::path out = dir_ / "script.out";
        EXPECT_EQ(interruptAt("script --file '" + md2 + "' --user 1 --password 7391 '" +
                                  storeUser(2, "wait 60000\n" + second) + "'",
                              "+79990000002", out, md2, signal),
                  1);
        const std::string said = slurp(out);
        EXPECT_NE(said.find("line 5: Прервано\n"), std::string::npos) << said;
        EXPECT_NE(said.find("zelar-cli: interrupted\n"), std::string::npos) << said;
        EXPECT_NE(said.find("zelar-cli: stored in " + md2 + ": Пользователи #2\n"),
                  std::string::npos)
            << said;
        EXPECT_EQ(phoneOf(md2, 2), "+79990000002");
        EXPECT_EQ(phoneOf(md2, 3), "");
    }
}

// Two scripts on one file: the second is refused while the first holds it, naming the file, and
// nothing is lost; a first one killed outright (its lock file left behind) holds nothing.
TEST_F(CliInterrupt, TwoScriptsOnOneFileTakeTurnsAndAKilledOneHoldsNothing) {
    const std::string md2 = newSettingsFile("shared.md2");
    const std::string login = " --user 1 --password 7391 ";
    const fs::path firstOut = dir_ / "first.out";
    const pid_t first = start("script --file '" + md2 + "'" + login + "'" +
                              storeUser(2, "wait 60000\n") + "' >'" + firstOut.string() + "' 2>&1");
    const auto end = zelar::test::Clock::now() + std::chrono::seconds(20);
    while (phoneOf(md2, 2).empty() && zelar::test::Clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    const fs::path secondOut = dir_ / "second.out";
    const std::string second = "script --file '" + md2 + "'" + login + "'" + storeUser(3) + "' >'" +
                               secondOut.string() + "' 2>&1";
    EXPECT_EQ(cli(second), 2);
    EXPECT_NE(slurp(secondOut).find("[Модем] Файл «" + md2 +
                                    "» уже открыт для изменений в другой программе\n"),
              std::string::npos)
        << slurp(secondOut);
    EXPECT_EQ(phoneOf(md2, 3), "");

    ::kill(first, SIGKILL);
    EXPECT_EQ(exitStatus(first, 10), -1);
    EXPECT_EQ(cli(second), 0) << slurp(secondOut);
    EXPECT_EQ(phoneOf(md2, 2), "+79990000002");
    EXPECT_EQ(phoneOf(md2, 3), "+79990000003");
}

// The signal meter keeps the samples it took in its CSV file when its terminal closes or the
// pipe it prints into is closed.
TEST_F(CliInterrupt, TheMeterKeepsItsSamplesWhenItsOutputGoes) {
    SimProcess sim({"--ports-dir", ports().string(), "--com", "78"});
    const std::string csv = file("levels.csv");
    // Ten samples at most, so that a meter which went on past its output still ends.
    const std::string watch = "diag --watch --count 10 --port COM78 --csv " + csv;
    const struct {
        const char* name;
        int signal;  // 0: stdout into a pipe closed after two samples
        int status;
    } rows[] = {
        {"the terminal closed", SIGHUP, 0},
        {"a pipe closed after two lines", 0, 3},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        fs::remove(csv);
        if (row.signal != 0) {
            EXPECT_EQ(interruptAt(watch, "%", dir_ / "watch.out", {}, row.signal), row.status);
        } else {
            const std::string command = "cd '" + dir_.string() + "' && { XDG_CONFIG_HOME='" +
                                        dir_.string() + "' '" ZELAR_CLI_PATH "' " + watch +
                                        " 2>/dev/null; echo $? >status; } | head -n 2 >watch.out";
            EXPECT_EQ(std::system(command.c_str()), 0);
            EXPECT_EQ(slurp(dir_ / "status"), std::to_string(row.status) + "\n");
        }
        const std::string samples = slurp(csv);
        EXPECT_EQ(samples.rfind("time,level,percent,faults\r\n", 0), 0u) << samples;
        const auto lines = std::count(samples.begin(), samples.end(), '\n');
        EXPECT_GE(lines, 2) << samples;
        EXPECT_LE(lines, 5) << samples;  // it ended with its output, not after ten samples
    }
}

}  // namespace
