#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "sim_process.h"

// zelar-cli backup and restore against the real zelar-sim on a pseudo-terminal.
namespace {

namespace fs = std::filesystem;
using zelar::test::SimProcess;

std::string slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The file without its first line, the time of saving.
std::string afterFirstLine(const std::string& file) {
    return file.substr(file.find('\n') + 1);
}

class CliFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("zelar-cli-files-" + std::to_string(::getpid()));
        fs::remove_all(dir_);
        fs::create_directories(ports());
    }
    void TearDown() override { fs::remove_all(dir_); }

    fs::path ports() const { return dir_ / "Kalvimo" / "Zelar2" / "ports"; }

    // Runs zelar-cli with the arguments; its exit status, stderr in `err`.
    int cli(const std::string& args) {
        const fs::path err = dir_ / "err.txt";
        const std::string command = "XDG_CONFIG_HOME='" + dir_.string() +
                                    "' '" ZELAR_CLI_PATH "' " + args + " >/dev/null 2>'" +
                                    err.string() + "'";
        const int status = std::system(command.c_str());
        err_ = slurp(err);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    fs::path dir_;
    std::string err_;
};

TEST_F(CliFiles, RestoreBringsBackWhatBackupSaved) {
    SimProcess sim({"--ports-dir", ports().string(), "--com", "46"});
    ASSERT_EQ(sim.line().substr(0, 6), "COM46 ");
    const std::string login = "--port COM46 --user 1 --password 1234 ";
    const fs::path before = dir_ / "before.md2";
    const fs::path after = dir_ / "after.md2";

    ASSERT_EQ(cli("backup " + login + "'" + before.string() + "'"), 0) << err_;
    EXPECT_NE(err_.find("[Модем] Копия настроек успешно создана"), std::string::npos);

    const fs::path script = dir_ / "change.script";
    std::ofstream(script) << "select TreeView1 \"#3\"\nset EditUserTel +79035550003\n"
                             "click ButtonWriteNastr\n";
    ASSERT_EQ(cli("script " + login + "'" + script.string() + "'"), 0) << err_;
    ASSERT_EQ(cli("backup " + login + "'" + after.string() + "'"), 0) << err_;
    ASSERT_NE(afterFirstLine(slurp(after)), afterFirstLine(slurp(before)));

    // Without --yes the question takes its default: nothing is written.
    EXPECT_EQ(cli("restore " + login + "'" + before.string() + "'"), 1);
    EXPECT_EQ(cli("restore --yes " + login + "'" + before.string() + "'"), 0) << err_;
    EXPECT_NE(err_.find("[Сохранение настроек] Настройки записаны"), std::string::npos);
    ASSERT_EQ(cli("backup " + login + "'" + after.string() + "'"), 0) << err_;
    EXPECT_EQ(afterFirstLine(slurp(after)), afterFirstLine(slurp(before)));
}

}  // namespace
