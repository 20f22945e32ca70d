#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "config_folder.h"
#include "file_text.h"
#include "files/dictionary_file.h"
#include "sim_process.h"

// Each long operation of zelar-cli against a zelar-sim that hangs up in its middle, as a pulled
// cable does: the operation ends with the port's error and its own message, once, the process
// returns, and a file it would have replaced is left as it was.
namespace {

namespace fs = std::filesystem;
using zelar::test::SimProcess;

using zelar::test::slurp;

std::size_t count(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

struct Unplug {
    const char* name;
    // Arguments after the verb; FILE stands for the row's file in the test's folder.
    const char* args;
    // Commands and boot loader blocks before the line goes dead, counted from the simulator's
    // start (the read and login before the operation take 27).
    int hangUpAfter;
    int status;
    const char* portError;
    // What the operation says after the port's error; nothing for an operation whose failure
    // the port's error tells in full.
    const char* endMessage;
    // Runs first against the same simulator, without a fault (FILE as above).
    const char* prepare = "";
    // The sections the modem took before the line went dead, named as it fails; nothing for
    // an operation that writes no settings.
    const char* written = nullptr;
};

void PrintTo(const Unplug& row, std::ostream* out) {
    *out << row.name;
}

const Unplug kUnplugs[] = {
    {"Read", "read", 5, 1, "[Ошибка] Read data error", "[Модем] Ошибка чтения настроек"},
    // The write's failure stops the script with 1; the port's error tells it in full.
    {"Write", "script --user 1 --password 1234 FILE", 28, 1, "[Ошибка] Read data error", nullptr,
     "", "zelar-cli: written: nothing; under way: user 3\n"},
    {"Backup", "backup --user 1 --password 1234 FILE", 10, 1, "[Ошибка] Read data error",
     "[Модем] Ошибка чтения настроек"},
    {"Restore", "restore --user 1 --password 1234 --yes FILE", 27 + 27 + 3, 1,
     "[Ошибка] Read data error", nullptr, "backup --user 1 --password 1234 FILE",
     "zelar-cli: written: user 1; under way: user 2\n"},
    {"FactoryDefaults", "defaults --yes", 30, 1, "[Ошибка] Read data error", nullptr, "",
     "zelar-cli: written: modem flags, user 1; under way: user 2\n"},
    {"DictionaryUpload", "dict-upload --user 1 --password 1234 --yes FILE", 30, 1,
     "[Ошибка] Read data error", "[Модем] Ошибка связи с модемом"},
    {"DictionaryDownload", "dict-download --user 1 --password 1234 --yes FILE", 40, 1,
     "[Ошибка] Read data error", "[Модем] Нет связи с модемом"},
    {"Programming", "flash --user 1 --password 1234 --yes --wait 5 FILE", 27 + 1 + 10, 1,
     "[Ошибка] Read error (", "status: Запись завершена с ошибкой."},
};

class CliUnplug : public ::testing::TestWithParam<Unplug> {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("zelar-cli-unplug-" + std::to_string(::getpid()) + "-" + GetParam().name);
        fs::remove_all(dir_);
        fs::create_directories(dir_ / "Kalvimo" / "Zelar2" / "ports");
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string ports() const { return (dir_ / "Kalvimo" / "Zelar2" / "ports").string(); }

    // Runs zelar-cli; its exit status, stderr in `err_`. A frozen run is stopped and fails.
    int cli(const std::string& verbAndArgs, const std::string& file) {
        std::string args = verbAndArgs;
        if (const auto at = args.find("FILE"); at != std::string::npos)
            args.replace(at, 4, "'" + file + "'");
        const std::string command = "XDG_CONFIG_HOME='" + dir_.string() + "' timeout 60 '" +
                                    ZELAR_CLI_PATH "' " + args + " --port COM61 >/dev/null 2>'" +
                                    (dir_ / "err.txt").string() + "'";
        const int status = std::system(command.c_str());
        err_ = slurp(dir_ / "err.txt");
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    // What each operation needs in its file; an operation that writes the file finds a file
    // already there, which must survive.
    std::string fileFor(const std::string& verb) const {
        if (verb == "script")
            return "select TreeView1 \"#3\"\nset EditUserTel +79035550003\nclick "
                   "ButtonWriteNastr\n";
        if (verb == "dict-upload") {
            // A whole file (one cut short is refused before the modem is asked); the line goes
            // dead after its first records.
            std::string text;
            for (const std::string& line : zelar::protocol0HeadLines())
                text += line + "\r\n";
            for (int code = 0; code < zelar::kProtocol0Codes; ++code)
                text += zelar::protocol0RecordLine(code, "Event", 0);
            return text;
        }
        if (verb == "flash") {
            // A page of code, the version, then erased bytes.
            std::string image(496 * 256, '\xFF');
            for (std::size_t i = 0; i < 0x100; ++i)
                image[i] = static_cast<char>(i * 37 + 11);
            image.replace(0x100, 12, "     Ver0206");
            return image;
        }
        return "the file as it was\r\n";
    }

    fs::path dir_;
    std::string err_;
};

TEST_P(CliUnplug, EndsWithOneMessageAndLeavesTheFile) {
    const Unplug& row = GetParam();
    SimProcess sim({"--ports-dir", ports(), "--com", "61", "--hang-up-after",
                    std::to_string(row.hangUpAfter)});
    ASSERT_EQ(sim.line().substr(0, 6), "COM61 ");
    const std::string verb = std::string(row.args).substr(0, std::string(row.args).find(' '));
    const fs::path file = dir_ / "file";
    if (*row.prepare != '\0')
        ASSERT_EQ(cli(row.prepare, file.string()), 0) << err_;
    else
        std::ofstream(file, std::ios::binary) << fileFor(verb);
    const std::string before = slurp(file);

    EXPECT_EQ(cli(row.args, file.string()), row.status) << err_;
    EXPECT_EQ(count(err_, row.portError), 1u) << err_;
    if (row.endMessage != nullptr)
        EXPECT_EQ(count(err_, row.endMessage), 1u) << err_;
    else
        EXPECT_EQ(count(err_, "Нет связи с модемом"), 0u) << err_;
    EXPECT_EQ(count(err_, row.written ? row.written : "zelar-cli: written"), row.written ? 1u : 0u)
        << err_;
    // Nothing more is sent into the dead line (say, resends that each fail again).
    EXPECT_EQ(count(err_, "Write data error"), 0u) << err_;
    EXPECT_EQ(slurp(file), before);
}

INSTANTIATE_TEST_SUITE_P(EachOperation, CliUnplug, ::testing::ValuesIn(kUnplugs),
                         [](const auto& info) { return std::string(info.param.name); });

// The adapter pulled while flash waits for the boot loader's "!": the wait ends at once with
// the port's error, long before --wait runs out. The boot loader link hears of a gone device
// only through its received handler.
TEST(CliUnplugWhileWaiting, EndsTheWaitForTheBootLoaderAtOnce) {
    const zelar::test::ConfigFolder config("zelar-cli-unplug-boot");
    const fs::path& dir = config.dir;
    const fs::path& ports = config.ports;
    SimProcess sim({"--ports-dir", ports.string(), "--com", "63", "--boot-fault", "vanish"});
    ASSERT_EQ(sim.line().substr(0, 6), "COM63 ");
    std::ofstream(dir / "fw.bin", std::ios::binary)
        << std::string(1000, '\xFF') << "     Ver0206" << std::string(20, '\0');
    const std::string command =
        "XDG_CONFIG_HOME='" + dir.string() + "' timeout 60 '" +
        ZELAR_CLI_PATH "' flash --port COM63 --user 1 --password 1234 --wait 50 '" +
        (dir / "fw.bin").string() + "' >/dev/null 2>'" + (dir / "err.txt").string() + "'";
    const int status = std::system(command.c_str());
    const std::string err = slurp(dir / "err.txt");
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << err;
    // The port's error, shown once and kept as the status.
    const std::string mark = "[Ошибка] ";
    EXPECT_EQ(count(err, mark), 1u) << err;
    const auto from = err.find(mark) + mark.size();
    const std::string message = err.substr(from, err.find('\n', from) - from);
    EXPECT_NE(err.find("status: " + message + "\n"), std::string::npos) << err;
    EXPECT_EQ(count(err, "no boot loader"), 0u) << err;
}

// One process goes on once the modem is back: the upload meets the hang-up, and its one Retry,
// after the pause of --retry-delay (1000 ms by default), finds the modem back under the same COM
// number.
TEST(CliUnplugThenBack, TheRetryAfterItsPauseGoesOn) {
    const zelar::test::ConfigFolder config("zelar-cli-unplug-back");
    const fs::path& dir = config.dir;
    const fs::path& ports = config.ports;
    SimProcess sim({"--ports-dir", ports.string(), "--com", "62", "--hang-up-after", "28",
                    "--back-after-ms", "300"});
    ASSERT_EQ(sim.line().substr(0, 6), "COM62 ");
    std::ofstream(dir / "rpi.txt", std::ios::binary)
        << "Protocol=1\t\t\t\r\n:\t1024\t400\tA\t3\r\n:\t5\t5\tB\t1\r\n";
    const std::string command = "XDG_CONFIG_HOME='" + dir.string() + "' timeout 60 '" +
                                ZELAR_CLI_PATH
                                "' dict-upload --port COM62 --user 1 --password "
                                "1234 --yes --retries 1 '" +
                                (dir / "rpi.txt").string() + "' >/dev/null 2>'" +
                                (dir / "err.txt").string() + "'";
    const int status = std::system(command.c_str());
    const std::string err = slurp(dir / "err.txt");
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << err;
    EXPECT_EQ(count(err, "[Модем] Ошибка связи с модемом"), 1u) << err;
    EXPECT_EQ(count(err, "[Модем] Запись словаря успешно завершена"), 1u) << err;
}

}  // namespace
