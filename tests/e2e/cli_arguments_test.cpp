#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "file_text.h"

// zelar-cli's checks before anything is sent, and its exit statuses, through the real program:
// each refusal comes at once, with status 2 and a reason that says what is wrong.
namespace {

namespace fs = std::filesystem;

struct Outcome {
    int status = -1;
    std::string err;
};

class CliArguments : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("zelar-cli-arguments-" + std::to_string(::getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        std::ofstream(dir_ / "fw.bin", std::ios::binary) << std::string(300, '\xFF');
    }
    void TearDown() override { fs::remove_all(dir_); }

    // Runs zelar-cli under sh with `args` (and any redirections in them) and a script line on
    // stdin, a pipe, for at most 20 s: a command that blocks reads as status 124.
    Outcome cli(const std::string& args) const {
        const fs::path err = dir_ / "stderr.txt";
        const std::string command = "cd '" + dir_.string() +
                                    "' && echo 'select TreeView1 x' | XDG_CONFIG_HOME='" +
                                    dir_.string() + "' timeout -k 5 20 '" ZELAR_CLI_PATH "' " +
                                    args + " 2>'" + err.string() + "'";
        const int status = std::system(command.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, zelar::test::slurp(err)};
    }

    fs::path dir_;
};

TEST_F(CliArguments, RefusalsComeAtOnceWithStatusTwoAndSayWhatIsWrong) {
    const std::string login = "--port COM5 --user 1 --password 1234 ";
    struct Case {
        std::string args;
        int status;
        const char* says;
    };
    const Case cases[] = {
        // An empty output name: no download, no read of the modem first.
        {"dict-download " + login + "''", 2, "an empty file name"},
        {"backup " + login + "''", 2, "an empty file name"},
        // A missing input file: one status for every command.
        {"restore " + login + "--yes missing.md2", 2, "missing.md2"},
        {"dict-upload " + login + "missing.dict", 2, "missing.dict"},
        {"fw-info missing.dat", 2, "missing.dat"},
        {"flash --port COM5 missing.dat", 2, "missing.dat"},
        {"verify --port COM5 missing.md2", 2, "missing.md2"},
        {"diff COM5 missing.md2", 2, "missing.md2"},
        {"script --port COM5 missing.script", 2, "missing.script"},
        // A trace on the script's own input blocked for ever.
        {"script --trace /dev/stdin -", 2, "'stdin'"},
        {"read --port COM5 --port COM6", 2, "--port is given more than once"},
        {"read --port COMx", 2, "--port 'COMx' is no port name"},
        {"read --port ''", 2, "--port needs a port name"},
        {"provision --ports COM210--COM211", 2, "'-COM211' in 'COM210--COM211' is no port name"},
        {"report --file missing.md2 out.html", 2, "missing.md2"},
        {"report --port COM5 out.pdf", 2, "needs --user N --password XXXX"},
        {"report --file fw.bin out.txt", 2, "one OUTPUT.html or OUTPUT.pdf"},
        {"report --file fw.bin out.html", 2, "'fw.bin' is no settings file"},
        // Output that cannot be written is no success.
        {"fw-info fw.bin >/dev/full", 3, "cannot write the output"},
        {"--help >/dev/full", 3, "cannot write the output"},
        {"fw-info --json fw.bin >/dev/full", 3, "cannot write the output"},
    };
    for (const Case& c : cases) {
        const Outcome outcome = cli(c.args);
        EXPECT_EQ(outcome.status, c.status) << c.args << "\n" << outcome.err;
        EXPECT_NE(outcome.err.find(c.says), std::string::npos) << c.args << "\n" << outcome.err;
    }
}

}  // namespace
