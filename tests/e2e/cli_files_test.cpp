#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "file_text.h"
#include "sim_process.h"
#include "support/crlf_lines.h"

// zelar-cli backup and restore against the real zelar-sim on a pseudo-terminal.
namespace {

namespace fs = std::filesystem;
using zelar::test::SimProcess;

using zelar::test::crlfLines;
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

    // The handover report of the modem, set as a PDF without any display on three A4 pages at
    // most, and of the file.
    const fs::path pdf = dir_ / "report.pdf";
    ASSERT_EQ(cli("report " + login + "'" + pdf.string() + "'", "env -u DISPLAY "), 0) << err_;
    const std::string pdfBytes = slurp(pdf);
    EXPECT_EQ(pdfBytes.substr(0, 5), "%PDF-");
    EXPECT_NE(pdfBytes.find(std::string("\0G\0S\0M", 6)), std::string::npos);  // its title
    // The notes and the signature lines in a slanted face.
    EXPECT_TRUE(
        std::regex_search(pdfBytes, std::regex("/FontName /[A-Z]+\\+[^ /]*(Oblique|Italic)")));
    const std::regex page("/Type\\s*/Page[^s]");
    const auto pages = std::distance(std::sregex_iterator(pdfBytes.begin(), pdfBytes.end(), page),
                                     std::sregex_iterator());
    EXPECT_GE(pages, 2);
    EXPECT_LE(pages, 3);
    // Secrets only when asked for; the date written the Russian way whatever the locale.
    const fs::path open = dir_ / "open.html";
    ASSERT_EQ(cli("report --with-secrets " + login + "'" + open.string() + "'",
                  "env LC_ALL=C.UTF-8 LANG=en_US.UTF-8 "),
              0)
        << err_;
    EXPECT_NE(slurp(open).find("<td>z2pass</td>"), std::string::npos);
    EXPECT_TRUE(std::regex_search(slurp(open),
                                  std::regex("<td>\\d\\d\\.\\d\\d\\.20\\d\\d \\d\\d:\\d\\d</td>")));
    ASSERT_EQ(cli("report " + login + "'" + open.string() + "'"), 0) << err_;
    EXPECT_EQ(slurp(open).find("z2pass"), std::string::npos);
    const fs::path html = dir_ / "report.html";
    ASSERT_EQ(cli("report --file '" + before.string() + "' '" + html.string() + "'"), 0) << err_;
    EXPECT_NE(slurp(html).find("не содержит уровня сигнала"), std::string::npos);

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

// A PDF is set with no display, whatever platform the environment names (a display that does
// not answer, a Wayland without its server, a platform Qt lacks, a theme), and no Qt warning
// reaches the output: the run says what an HTML report says.
TEST_F(CliFiles, APdfReportNeedsNoDisplayWhateverTheEnvironmentSays) {
    const std::string file = "'" + (dir_ / "site.md2").string() + "' ";
    ASSERT_EQ(cli("new " + file), 0) << err_;
    const fs::path html = dir_ / "site.html";
    ASSERT_EQ(cli("report --file " + file + "'" + html.string() + "'"), 0) << err_;
    const std::string htmlErr = err_;
    const char* environments[] = {
        "env -u DISPLAY -u WAYLAND_DISPLAY -u XDG_RUNTIME_DIR ",
        "env QT_QPA_PLATFORM=xcb DISPLAY=:9999 ",
        "env QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY=zelar-no-such-server ",
        "env QT_QPA_PLATFORM=no-such-platform ",
        "env QT_QPA_PLATFORMTHEME=no-such-theme QT_QPA_GENERIC_PLUGINS=evdevmouse ",
    };
    const fs::path pdf = dir_ / "site.pdf";
    for (const char* environment : environments) {
        SCOPED_TRACE(environment);
        fs::remove(pdf);
        EXPECT_EQ(cli("report --file " + file + "'" + pdf.string() + "'", environment), 0);
        EXPECT_EQ(err_, htmlErr);
        EXPECT_EQ(slurp(pdf).substr(0, 5), "%PDF-");
    }
}

TEST_F(CliFiles, VerifyAndDiffNameTheFieldAScriptChanged) {
    SimProcess sim({"--ports-dir", ports().string(), "--com", "48"});
    ASSERT_EQ(sim.line().substr(0, 6), "COM48 ");
    const std::string login = "--fast --port COM48 --user 1 --password 1234 ";
    const std::string before = "'" + (dir_ / "before.md2").string() + "'";
    const std::string after = "'" + (dir_ / "after.md2").string() + "'";
    ASSERT_EQ(cli("backup " + login + before), 0) << err_;
    EXPECT_EQ(cli("verify " + login + before), 0) << err_;
    EXPECT_EQ(out_, "");

    const fs::path script = dir_ / "change.script";
    std::ofstream(script) << "select TreeView1 \"#3\"\nset EditUserTel +79035550003\n"
                             "click ButtonWriteNastr\n";
    ASSERT_EQ(cli("script " + login + "'" + script.string() + "'"), 0) << err_;
    EXPECT_EQ(cli("verify " + login + before), 1) << err_;
    EXPECT_EQ(out_, "Пользователи #3 / Телефон: modem \"+79035550003\", file \"89261234567\"\n");

    ASSERT_EQ(cli("backup " + login + after), 0) << err_;
    EXPECT_EQ(cli("diff " + before + " " + after), 1) << err_;
    EXPECT_EQ(out_, "Пользователи #3 / Телефон: " + dir_.string() +
                        "/before.md2 \"89261234567\", " + dir_.string() +
                        "/after.md2 \"+79035550003\"\n");
    EXPECT_EQ(cli("diff --fast --user 1 --password 1234 COM48 " + after), 0) << err_;
    // A modem that cannot be read, or whose old firmware gives only its identification, gives
    // nothing to compare.
    EXPECT_EQ(cli("verify --port COM649 --user 1 --password 1234 " + before, "timeout 20 "), 2)
        << err_;
    SimProcess old({"--ports-dir", ports().string(), "--com", "49", "--firmware", "0150"});
    EXPECT_EQ(cli("verify --fast --port COM49 --user 1 --password 1234 " + before), 2) << err_;
    EXPECT_EQ(out_, "");
}

// A settings file written back from its lines.
void writeLines(const fs::path& path, const std::vector<std::string>& lines) {
    std::ofstream out(path, std::ios::binary);
    for (const std::string& line : lines)
        out << line << "\r\n";
}

// Puts `bytes` into the settings memory that the simulator's state file holds, at `address`.
void patchSettings(const fs::path& state, unsigned address, const std::string& bytes) {
    std::string text = slurp(state);
    std::size_t at = text.find("\nsettings ") + 10 + 2 * address;
    for (const char c : bytes) {
        char hex[3];
        std::snprintf(hex, sizeof hex, "%02X", static_cast<unsigned char>(c));
        text.replace(at, 2, hex);
        at += 2;
    }
    std::ofstream(state, std::ios::binary) << text;
}

// A modem holding what no page of the window writes: user 6's password "12a4", control bytes
// and a '"' in SIM 2's access point login, a line feed and an escape in the GPRS password.
// Its backup keeps them all but the line feed; verify and diff show the modem's passwords only
// to a "Мастер" or "Хозяин"; restore and provision refuse a value that would lock someone out,
// before the port is opened, naming the line.
TEST_F(CliFiles, OddValuesTheRightsToReadThemAndTheRefusalsOfAFile) {
    const fs::path state = dir_ / "modem.state";
    const std::vector<std::string> simArgs{"--ports-dir", ports().string(), "--com",
                                           "47",          "--state",        state.string()};
    {
        SimProcess first(simArgs);
        ASSERT_EQ(first.stop(), 0);
    }
    patchSettings(state, 0x008E, "12a4");
    patchSettings(state, 0x0158, "a\x1B\x07\"b  ");
    patchSettings(state, 0x01B8, std::string("p\nq\x1B    "));
    SimProcess sim(simArgs);
    ASSERT_EQ(sim.line().substr(0, 6), "COM47 ");

    const std::string master = "--fast --port COM47 --user 1 --password 1234 ";
    const fs::path backup = dir_ / "backup.md2";
    EXPECT_EQ(cli("backup " + master + "'" + backup.string() + "'"), 1) << err_;
    const std::string lockedOut = "строка 75, User6, Пароль: \"12a4\" — не четыре цифры\n";
    EXPECT_NE(err_.find("zelar-cli: строка 88, GPRS, Авторизация Пароль: \"p\\x0Aq\\x1B\" — "
                        "перевод строки записан в файл как \"?\"\n"),
              std::string::npos)
        << err_;
    EXPECT_NE(err_.find("will not restore until this line is corrected: " + lockedOut),
              std::string::npos)
        << err_;
    auto lines = crlfLines(slurp(backup));
    ASSERT_EQ(lines.size(), 94u);
    EXPECT_EQ(lines[23], "a\x1B\x07\"b" + std::string(19, ' '));
    // Corrected, then with a PIN no SIM page takes, and as a template whose SIM detection
    // differs from the modem's.
    lines[74] = "2222";
    const fs::path corrected = dir_ / "corrected.md2";
    writeLines(corrected, lines);
    auto pin = lines;
    pin[8] = "ab";
    writeLines(dir_ / "pin.md2", pin);
    lines[15] = lines[25] = "03";
    lines[22] = "other.apn" + std::string(15, ' ');
    writeLines(dir_ / "detected.md2", lines);

    const std::string file = " '" + backup.string() + "'";
    const std::string guard = " --fast --user 3 --password 0000 ";
    const struct {
        std::string args;
        int status;
        std::optional<std::string> out;  // nothing for output not compared
        std::string err;
    } cases[] = {
        {"verify --port COM47" + file, 2, "",
         "zelar-cli: verify needs a login as \"Мастер\" or \"Хозяин\""},
        {"verify --port COM47" + guard + file, 2, "",
         "zelar-cli: COM47: verify needs a login as \"Мастер\" or \"Хозяин\""},
        {"diff COM47" + file, 2, "", "zelar-cli: diff needs a login as"},
        {"diff --json" + guard + "COM47" + file, 2, std::nullopt,
         "zelar-cli: COM47: diff needs a login as"},
        // The bytes are compared; the one the backup could not keep is shown escaped.
        {"verify " + master + file, 1,
         "Настройка GPRS / Авторизация Пароль: modem \"p\\x0Aq\\x1B\", file \"p?q\\x1B\"\n", ""},
        {"diff --user 1 --password 1234 COM47" + file, 1, std::nullopt, ""},
        {"restore --yes " + master + file, 2, "",
         "[Модем] Неверный формат файла\nzelar-cli: " + lockedOut},
        // COM649 has no modem: the file is judged before the port is opened.
        {"restore --yes --port COM649 --user 1 --password 1234 '" + (dir_ / "pin.md2").string() +
             "'",
         2, "",
         "[Модем] Неверный формат файла\nzelar-cli: строка 9, SIM1, PIN-код: \"ab\" — не четыре "
         "цифры\n"},
        {"provision --ports COM649 --user 1 --password 1234 --template" + file, 2, "",
         "will not restore:\nzelar-cli: " + lockedOut},
        {"verify " + master + "'" + corrected.string() + "'", 1,
         "Пользователи #6 / Пароль: modem \"12a4\", file \"2222\"\n"
         "Настройка GPRS / Авторизация Пароль: modem \"p\\x0Aq\\x1B\", file \"p?q\\x1B\"\n",
         ""},
        // The closing verify compares what the restore wrote: not SIM 2's access point, which
        // the template detects automatically, nor the detection itself.
        {"provision --fast --ports COM47 --user 1 --password 1234 --verify --template '" +
             (dir_ / "detected.md2").string() + "'",
         0, std::nullopt, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args);
        EXPECT_EQ(cli(c.args, "timeout 60 "), c.status) << out_ << err_;
        if (c.out) {
            EXPECT_EQ(out_, *c.out);
        }
        EXPECT_NE(err_.find(c.err), std::string::npos) << err_;
        EXPECT_EQ(err_.find("[Модем] Не могу открыть порт"), std::string::npos) << err_;
        if (c.status == 2) {
            for (const char* secret : {"1234", "12a4", "4951", "beeline", "z2pass"})
                EXPECT_EQ(out_.find(secret), std::string::npos) << out_;
        }
    }
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
    const fs::path badDictionary = dir_ / "bad.txt";
    std::ofstream(badDictionary) << "Protocol=1\t\t\t\r\n:\t0\t0\tA\t1\r\n:\t7\t8\tC\t1\r\n";
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
        {"verify --port COM649 --user 1 --password 1234", missing, "Нет такого файла или папки", 2},
        {"dict-upload " + login, fifo, "Это не обычный файл", 2},
        {"dict-upload " + login, badDictionary, "Ошибка в 7(DEC) сообщении. DEC и HEX не равны.",
         2},
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
