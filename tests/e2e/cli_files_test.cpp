#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "file_text.h"
#include "sim_process.h"

// zelar-cli backup and restore against the real zelar-sim on a pseudo-terminal.
namespace {

namespace fs = std::filesystem;
using zelar::test::SimProcess;

using zelar::test::slurp;

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

    // Runs zelar-cli with the arguments; its exit status, stdout in `out_`, stderr in `err_`.
    // `wrapper` runs before the program: a time limit, another user.
    int cli(const std::string& args, const std::string& wrapper = {}) {
        const fs::path out = dir_ / "out.txt";
        const fs::path err = dir_ / "err.txt";
        const std::string command = "XDG_CONFIG_HOME='" + dir_.string() + "' " + wrapper + "'" +
                                    ZELAR_CLI_PATH "' " + args + " >'" + out.string() + "' 2>'" +
                                    err.string() + "'";
        const int status = std::system(command.c_str());
        out_ = slurp(out);
        err_ = slurp(err);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    fs::path dir_;
    std::string out_;
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

TEST_F(CliFiles, VerifyAndDiffNameTheFieldAScriptChanged) {
    SimProcess sim({"--ports-dir", ports().string(), "--com", "48"});
    ASSERT_EQ(sim.line().substr(0, 6), "COM48 ");
    const std::string login = "--fast --port COM48 --user 1 --password 1234 ";
    const std::string before = "'" + (dir_ / "before.md2").string() + "'";
    const std::string after = "'" + (dir_ / "after.md2").string() + "'";
    ASSERT_EQ(cli("backup " + login + before), 0) << err_;
    EXPECT_EQ(cli("verify --fast --port COM48 " + before), 0) << err_;
    EXPECT_EQ(out_, "");

    const fs::path script = dir_ / "change.script";
    std::ofstream(script) << "select TreeView1 \"#3\"\nset EditUserTel +79035550003\n"
                             "click ButtonWriteNastr\n";
    ASSERT_EQ(cli("script " + login + "'" + script.string() + "'"), 0) << err_;
    EXPECT_EQ(cli("verify --fast --port COM48 " + before), 1) << err_;
    EXPECT_EQ(out_, "Пользователи #3 / Телефон: modem \"+79035550003\", file \"89261234567\"\n");

    ASSERT_EQ(cli("backup " + login + after), 0) << err_;
    EXPECT_EQ(cli("diff " + before + " " + after), 1) << err_;
    EXPECT_EQ(out_, "Пользователи #3 / Телефон: " + dir_.string() +
                        "/before.md2 \"89261234567\", " + dir_.string() +
                        "/after.md2 \"+79035550003\"\n");
    EXPECT_EQ(cli("diff --fast COM48 " + after), 0) << err_;
    // A modem that cannot be read, or whose old firmware gives only its identification, gives
    // nothing to compare.
    EXPECT_EQ(cli("verify --port COM649 " + before, "timeout 20 "), 2) << err_;
    SimProcess old({"--ports-dir", ports().string(), "--com", "49", "--firmware", "0150"});
    EXPECT_EQ(cli("verify --fast --port COM49 " + before), 2) << err_;
    EXPECT_EQ(out_, "");
}

// Every command checks its file before it opens the port: COM649 has no modem, so a check made
// after the opening would show the port's message instead. The refusals come at once, a FIFO's
// too, with status 2 for every command. As root every file may be written, so the commands then run
// as the unprivileged user.
TEST_F(CliFiles, EachCommandChecksItsFileBeforeThePort) {
    const fs::path folder = dir_ / "folder.md2";
    const fs::path fifo = dir_ / "fifo.md2";
    const fs::path missing = dir_ / "missing.md2";
    const fs::path readOnly = dir_ / "read-only.txt";
    const fs::path locked = dir_ / "locked";
    fs::create_directories(folder);
    fs::create_directories(locked);
    fs::permissions(locked, fs::perms(0555));
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    std::ofstream(readOnly) << "old";
    fs::permissions(readOnly, fs::perms(0444));

    const std::string login = "--port COM649 --user 1 --password 1234 --yes ";
    const struct {
        std::string command;
        fs::path file;
        std::string reason;
        int status;
    } cases[] = {
        {"restore " + login, missing, "Нет такого файла или папки", 2},
        {"restore " + login, folder, "Это папка", 2},
        {"verify --port COM649", missing, "Нет такого файла или папки", 2},
        {"dict-upload " + login, fifo, "Это не обычный файл", 2},
        {"script --port COM649", fifo, "Это не обычный файл", 2},
        {"fw-info", fifo, "Это не обычный файл", 2},
        {"flash --port COM649", missing, "Нет такого файла или папки", 2},
        {"backup " + login, folder, "Это папка", 2},
        {"backup " + login, locked / "a.md2", "Отказано в доступе", 2},
        {"dict-download " + login, readOnly, "Отказано в доступе", 2},
        {"dict-download " + login, dir_ / "none" / "d.txt", "Нет такого файла или папки", 2},
    };
    const std::string user =
        ::geteuid() == 0 ? "setpriv --reuid=65534 --regid=65534 --clear-groups " : "";
    for (const auto& c : cases) {
        const std::string args = c.command + " '" + c.file.string() + "'";
        EXPECT_EQ(cli(args, "timeout 20 " + user), c.status) << args << '\n' << err_;
        EXPECT_NE(err_.find("\"" + c.file.string() + "\": " + c.reason), std::string::npos)
            << args << '\n'
            << err_;
        EXPECT_EQ(err_.find("порт"), std::string::npos) << args << '\n' << err_;
    }
    EXPECT_EQ(slurp(readOnly), "old");
    EXPECT_TRUE(fs::is_empty(locked));

    // A trace holds the passwords sent: a new one is for its owner's eyes only.
    const fs::path trace = dir_ / "trace.txt";
    // (A missing file is refused before the trace is opened, so a command without one.)
    cli("ports --trace '" + trace.string() + "'");
    EXPECT_EQ(fs::status(trace).permissions(), fs::perms(0600));
}

}  // namespace
