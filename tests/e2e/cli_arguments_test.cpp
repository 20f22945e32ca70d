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
        std::ofstream(dir_ / "fw.bin", std::ios::binary)
            << std::string(300, '\xFF') << "     Ver0206" << std::string(20, '\0');
    }
    void TearDown() override { fs::remove_all(dir_); }

    // Runs zelar-cli under sh with `args` (and any redirections in them) and a script line on
    // stdin, a pipe, for at most 20 s: a command that blocks reads as status 124. `before` runs
    // first in the same shell.
    Outcome cli(const std::string& args, const std::string& before = "") const {
        const fs::path err = dir_ / "stderr.txt";
        const std::string command = "cd '" + dir_.string() + "' && " + before +
                                    "echo 'select TreeView1 x' | XDG_CONFIG_HOME='" +
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
        std::string before = "";
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
        {"script --trace /dev/stdin -", 2, "the trace file '/dev/stdin' is the same file as stdin"},
        {"read --port COM5 --port COM6", 2, "--port is given more than once"},
        {"read --port COMx", 2, "--port 'COMx' is no port name"},
        {"read --port ''", 2, "--port needs a port name"},
        {"provision --ports COM210--COM211", 2, "'-COM211' in 'COM210--COM211' is no port name"},
        {"diag --port COM5 --count 3", 2, "--interval, --count and --csv go with --watch"},
        {"diag --port COM5 --watch --interval 0", 2, "--interval needs seconds from 1 to 3600"},
        {"diag --port COM5 --watch --json", 2, "takes no --json"},
        {"diag --port COM5 --watch --csv no/such/folder.csv", 2, "no/such"},
        {"report --file missing.md2 out.html", 2, "missing.md2"},
        {"report --port COM5 out.pdf", 2, "needs --user N --password XXXX"},
        {"report --file fw.bin out.txt", 2, "one OUTPUT.html or OUTPUT.pdf"},
        {"report --file fw.bin out.html", 2, "'fw.bin' is not a settings file"},
        {"provision --ports COM5 --user 1 --password 1234 --template fw.bin", 2,
         "'fw.bin' is not a settings file"},
        // Output that cannot be written is no success.
        {"fw-info fw.bin >/dev/full", 3, "cannot write the output"},
        {"--help >/dev/full", 3, "cannot write the output"},
        {"fw-info --json fw.bin >/dev/full", 3, "cannot write the output"},
        // A trace is held to the rules of every file written; one cut short is no trace.
        {"read --port COM5 --trace fifo", 2, "\"fifo\": Это не обычный файл", "mkfifo fifo && "},
        {"read --port COM5 --trace /dev/full", 2, "\"/dev/full\": Это не обычный файл"},
        {"read --port COM5 --trace full.txt", 3, "cannot write the trace file 'full.txt'",
         "mkdir -p Kalvimo/Zelar2/ports && ln -sf /dev/null Kalvimo/Zelar2/ports/COM5 && "
         "head -c 2000 /dev/zero >full.txt && trap '' XFSZ && ulimit -f 2 && "},
        // One rule for a bad file before the modem is touched.
        {"restore --port COM5 --user 1 --password 1234 --yes fw.bin", 2, "Неверный формат файла"},
        {"fw-info text.bin", 2, "text.bin: В файле нет прошивки", "printf x >text.bin && "},
        {"flash --port COM5 text.bin", 2, "[Ошибка] В файле нет прошивки",
         "printf x >text.bin && "},
        // Options that the command would pass over, and port names no list holds.
        {"read --port COM5 --template fw.bin", 2, "read does not take --template"},
        {"fw-info --port COM5 fw.bin", 2, "fw-info does not take --port"},
        {"ports --json | python3 -c 'import json,sys; assert type(json.load(sys.stdin)) is list'",
         0, ""},  // a JSON array, not text
        {"read --port COM0", 2, "--port 'COM0' is no port name"},
        {"read --port COM000000251", 2, "--port 'COM000000251' is no port name"},
        // A bad argument names the help of its command, not the whole help.
        {"read --bogus", 2, "\nzelar-cli: see 'zelar-cli read --help'\n"},
        {"bogus", 2, "zelar-cli: unknown command 'bogus'\nzelar-cli: see 'zelar-cli --help'\n"},
        // A file to write: one rule and one status for every command.
        {"new ''", 2, "an empty file name"},
        {"new no/such/site.md2", 2, "no/such"},
        {"new folder.md2", 2, "\"folder.md2\": Это папка", "mkdir -p folder.md2 && "},
        {"new fifo.md2", 2, "\"fifo.md2\": Это не обычный файл", "mkfifo fifo.md2 && "},
        {"new fw.bin", 2, "fw.bin exists; give --yes to replace it"},
        {"dict-download " + login + "fw.bin", 2, "fw.bin exists; give --yes to replace it"},
        {"diag --port COM5 --watch --csv fw.bin", 2, "fw.bin exists; give --yes to replace it"},
        {"defaults --port COM5", 2, "give --yes to go ahead"},
        {"new --trace new.txt new.md2 && test -s new.md2", 0, ""},
        {"new --yes kept.md2 && test -s kept.md2", 0, "", "echo old >kept.md2 && "},
        // Nor may it be another of the command's files, under another name or through a link.
        {"report --file same.html same.html", 2,
         "the output 'same.html' is the same file as 'same.html'", "cp fw.bin same.html && "},
        {"report --file site.md2 out.html", 2,
         "the output 'out.html' is the same file as 'site.md2'",
         "cp fw.bin site.md2 && ln -sf site.md2 out.html && "},
        {"diag --port COM5 --watch --csv x.csv --trace ./x.csv", 2,
         "the trace file './x.csv' is the same file as 'x.csv'"},
        {"script --file fw.bin --trace fw.bin -", 2,
         "the trace file 'fw.bin' is the same file as 'fw.bin'"},
        {"new --trace t.md2 t.md2", 2, "the trace file 't.md2' is the same file as 't.md2'"},
        {"provision --ports COM5 --template fw.bin --report ./fw.bin", 2,
         "the report './fw.bin' is the same file as 'fw.bin'"},
        // A script is read no further than its limit, endless input too.
        {"script --file fw.bin - <endless", 2, "stdin: a script is at most 16777216 bytes",
         "mkfifo endless && (yes 'dump StaticTextSN' >endless 2>/dev/null &) && "},
        // A port that cannot be opened ends the meter at once, as every command.
        {"diag --port COM9 --watch --interval 15", 1,
         "[Модем] Не могу открыть порт\nzelar-cli: COM9: no such device\n"},
    };
    for (const Case& c : cases) {
        const Outcome outcome = cli(c.args, c.before);
        EXPECT_EQ(outcome.status, c.status) << c.args << "\n" << outcome.err;
        EXPECT_NE(outcome.err.find(c.says), std::string::npos) << c.args << "\n" << outcome.err;
        EXPECT_EQ(outcome.err.find("Usage:"), std::string::npos) << c.args;
    }
    // Refused files are left as they were.
    EXPECT_EQ(zelar::test::slurp(dir_ / "same.html"), zelar::test::slurp(dir_ / "fw.bin"));
    EXPECT_EQ(zelar::test::slurp(dir_ / "site.md2"), zelar::test::slurp(dir_ / "fw.bin"));
}

}  // namespace
