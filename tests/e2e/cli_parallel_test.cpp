#include <sys/wait.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>

#include "file_text.h"
#include "sim_process.h"

// Several modems provisioned at once: one zelar-cli process per port, as docs/cli.md shows.
namespace {

namespace fs = std::filesystem;
using zelar::test::SimProcess;

constexpr int kModems = 4;
constexpr int kFirstCom = 51;

using zelar::test::slurp;

class CliParallel : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("zelar-cli-parallel-" + std::to_string(::getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_ / "Kalvimo" / "Zelar2" / "ports");
    }
    void TearDown() override { fs::remove_all(dir_); }

    static std::string com(int k) { return "COM" + std::to_string(kFirstCom + k); }
    fs::path path(const std::string& name, int k) const {
        return dir_ / (name + std::to_string(k));
    }

    // Starts `arguments(k)` for every modem at once in the background, waits for all of them
    // and leaves each one's stdout, stderr and exit status in files of the test's folder.
    void runAll(const std::function<std::string(int)>& arguments) {
        std::string command = "export XDG_CONFIG_HOME='" + dir_.string() + "'; ";
        for (int k = 0; k < kModems; ++k) {
            command += "( '" ZELAR_CLI_PATH "' " + arguments(k) + " >'" + path("out", k).string() +
                       "' 2>'" + path("err", k).string() + "'; echo $? >'" +
                       path("status", k).string() + "' ) & ";
        }
        command += "wait";
        ASSERT_EQ(std::system(command.c_str()), 0);
    }
    std::string out(int k) const { return slurp(path("out", k)); }
    std::string err(int k) const { return slurp(path("err", k)); }
    std::string status(int k) const { return slurp(path("status", k)); }

    fs::path dir_;
};

TEST_F(CliParallel, FourModemsAtOnceEachGetTheirOwnSettings) {
    std::vector<std::unique_ptr<SimProcess>> sims;
    for (int k = 0; k < kModems; ++k) {
        sims.push_back(std::make_unique<SimProcess>(std::vector<std::string>{
            "--ports-dir", (dir_ / "Kalvimo" / "Zelar2" / "ports").string(), "--com",
            std::to_string(kFirstCom + k)}));
        ASSERT_EQ(sims.back()->line().rfind(com(k) + " ", 0), 0u) << sims.back()->line();
        std::ofstream(path("apn", k)) << "select TreeView1 \"Настройка модема\"\n"
                                         "select PageControl1 \"Настройка SIM-карт\"\n"
                                         "check AutoSetPar1 0\n"
                                         "set EditSim1APN internet.modem"
                                      << k << "\nclick ButtonWriteNastr\n";
    }

    runAll([&](int k) {
        return "script --port " + com(k) + " --user 1 --password 1234 '" + path("apn", k).string() +
               "'";
    });
    for (int k = 0; k < kModems; ++k)
        EXPECT_EQ(status(k), "0\n") << com(k) << ": " << err(k);

    runAll([&](int k) { return "read --port " + com(k) + " --user 1 --password 1234"; });
    for (int k = 0; k < kModems; ++k) {
        EXPECT_EQ(status(k), "0\n") << com(k) << ": " << err(k);
        EXPECT_NE(out(k).find("EditSim1APN: internet.modem" + std::to_string(k) + "\n"),
                  std::string::npos)
            << com(k) << ": " << out(k);
    }
}

}  // namespace
