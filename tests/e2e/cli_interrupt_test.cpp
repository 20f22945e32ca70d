#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

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

    // Starts zelar-cli with stdout and stderr into `out`, sends SIGINT once `mark` is in `watched`
    // (by default `out`) and gives the exit status.
    int interruptAt(const std::string& args, const std::string& mark, const fs::path& out,
                    fs::path watched = {}) {
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
        ::kill(pid, SIGINT);
        int status = 0;
        ::waitpid(pid, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    fs::path dir_;
};

TEST_F(CliInterrupt, EndsTheWriteInOrderAndProvisionReportsTheUnfinishedPorts) {
    SimProcess sim({"--ports-dir", ports().string(), "--com", "71"});
    const std::string login = " --user 1 --password 1234 ";
    ASSERT_EQ(std::system(("XDG_CONFIG_HOME='" + dir_.string() +
                           "' '" ZELAR_CLI_PATH "' backup --port COM71 --fast" + login +
                           file("site.md2") + " >/dev/null 2>&1")
                              .c_str()),
              0);

    EXPECT_EQ(interruptAt("restore --port COM71 --yes --trace " + file("trace.txt") + login +
                              file("site.md2"),
                          "Записать восстановленные настройки ?", dir_ / "restore.out"),
              1);
    const std::string said = slurp(dir_ / "restore.out");
    EXPECT_NE(said.find("[Ошибка] Прервано\n"), std::string::npos) << said;
    EXPECT_NE(said.find("zelar-cli: interrupted\n"), std::string::npos) << said;
    // How far it got: the modem now holds a mix of old and new sections. The first write is
    // user 1's, taken or under way.
    const auto written = said.find("zelar-cli: written: ");
    ASSERT_NE(written, std::string::npos) << said;
    EXPECT_NE(said.substr(written, said.find('\n', written) - written).find("user 1"),
              std::string::npos)
        << said;
    const std::string trace = slurp(file("trace.txt"));
    EXPECT_EQ(trace.substr(trace.rfind(' ', trace.size() - 2)), " close\n") << trace;

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
                              out, row.inTrace ? fs::path(trace) : fs::path()),
                  1);
        const std::string said = slurp(out);
        EXPECT_NE(said.find(row.said), std::string::npos) << said;
        EXPECT_EQ(said.find(row.notSaid), std::string::npos) << said;
    }
}

}  // namespace
