#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <random>

#include "config_folder.h"
#include "file_text.h"
#include "sim_process.h"
#include "support/sql_value.h"

// The archive of modems over real processes: zelar-cli killed at random moments while four of
// them record at once, then provision's four jobs recording at once.
namespace {

namespace fs = std::filesystem;
using zelar::test::ConfigFolder;
using zelar::test::SimProcess;

constexpr int kFirstCom = 171;
constexpr int kModems = 4;

// zelar-cli started in the background on its own configuration folder, output discarded.
pid_t startCli(const ConfigFolder& config, const std::vector<std::string>& args) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::setenv("XDG_CONFIG_HOME", config.dir.c_str(), 1);
        std::freopen("/dev/null", "w", stdout);
        std::freopen("/dev/null", "w", stderr);
        std::vector<char*> argv;
        static std::string program = ZELAR_CLI_PATH;
        argv.push_back(program.data());
        std::vector<std::string> copy = args;
        for (auto& a : copy)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    return pid;
}

// The exit status, or -1 for a process killed.
int waitCli(pid_t pid) {
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int entries(const std::string& path, const std::string& port, const std::string& operation,
            int before = 0) {
    return std::stoi(zelar::test::sqlValue(path, "SELECT count(*) FROM visit WHERE port = '" +
                                                     port + "' AND operation = '" + operation +
                                                     "' AND before = " + std::to_string(before)));
}

TEST(CliArchive, KilledWritersLeaveASoundArchiveWithEverySuccessAndProvisionsJobsAllLand) {
    ConfigFolder config("zelar-cli-archive");
    std::vector<std::unique_ptr<SimProcess>> sims;
    for (int k = 0; k < kModems; ++k) {
        sims.push_back(std::make_unique<SimProcess>(std::vector<std::string>{
            "--ports-dir", config.ports.string(), "--com", std::to_string(kFirstCom + k)}));
    }
    const std::string archive = (config.dir / "shared.sqlite").string();
    auto port = [](int k) { return "COM" + std::to_string(kFirstCom + k); };

    // Rounds of four reads at once, some killed at a random moment of their run.
    std::mt19937 random(35);
    std::map<std::string, int> succeeded;
    for (int round = 0; round < 6; ++round) {
        std::vector<pid_t> running;
        for (int k = 0; k < kModems; ++k) {
            running.push_back(
                startCli(config, {"read", "--port", port(k), "--fast", "--archive-file", archive}));
        }
        std::uniform_int_distribution<int> victim(0, kModems - 1);
        std::uniform_int_distribution<int> delayMs(0, 1500);
        ::usleep(static_cast<useconds_t>(delayMs(random)) * 1000);
        ::kill(running[static_cast<std::size_t>(victim(random))], SIGKILL);
        ::usleep(static_cast<useconds_t>(delayMs(random)) * 1000);
        ::kill(running[static_cast<std::size_t>(victim(random))], SIGKILL);
        for (int k = 0; k < kModems; ++k) {
            if (waitCli(running[static_cast<std::size_t>(k)]) == 0)
                ++succeeded[port(k)];
        }
    }
    ASSERT_TRUE(fs::exists(archive));
    EXPECT_EQ(zelar::test::sqlValue(archive, "PRAGMA integrity_check"), "ok");
    int total = 0;
    for (int k = 0; k < kModems; ++k) {
        SCOPED_TRACE(port(k));
        // A process killed after its commit has its entry too, so at least as many.
        EXPECT_GE(entries(archive, port(k), "read"), succeeded[port(k)]);
        total += succeeded[port(k)];
    }
    EXPECT_GT(total, 0) << "no read survived: the rounds proved nothing";

    // Provision: each port's jobs record into the same file at once.
    const std::string login = "--user 1 --password 1234 --fast";
    ASSERT_EQ(waitCli(startCli(config, {"backup", "--port", port(0), "--user", "1", "--password",
                                        "1234", (config.dir / "site.md2").string()})),
              0);
    const int status =
        waitCli(startCli(config, {"provision", "--ports", port(0) + "-" + port(kModems - 1),
                                  "--user", "1", "--password", "1234", "--fast", "--template",
                                  (config.dir / "site.md2").string(), "--archive-file", archive}));
    EXPECT_EQ(status, 0);
    EXPECT_EQ(zelar::test::sqlValue(archive, "PRAGMA integrity_check"), "ok");
    for (int k = 0; k < kModems; ++k) {
        SCOPED_TRACE(port(k));
        EXPECT_EQ(entries(archive, port(k), "restore", 1), 1);
        EXPECT_EQ(entries(archive, port(k), "restore", 0), 1);
    }
    struct stat info {};
    ASSERT_EQ(::stat(archive.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}

// Without --archive, --archive-file or the window's setting nothing is written anywhere.
TEST(CliArchive, OffItWritesNothingAndOnItNeverChangesTheExitStatus) {
    ConfigFolder config("zelar-cli-archive-off");
    SimProcess sim({"--ports-dir", config.ports.string(), "--com", std::to_string(kFirstCom + 7)});
    const std::string port = "COM" + std::to_string(kFirstCom + 7);
    ASSERT_EQ(waitCli(startCli(config, {"read", "--port", port, "--fast"})), 0);
    std::vector<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(config.dir))
        files.push_back(entry.path().filename().string());
    for (const std::string& name : files)
        EXPECT_EQ(name.find("archive"), std::string::npos) << name;

    // A damaged archive: the read still succeeds, the file stays as it was.
    const fs::path damaged = config.dir / "damaged.sqlite";
    std::ofstream(damaged) << "not a database";
    EXPECT_EQ(waitCli(startCli(
                  config, {"read", "--port", port, "--fast", "--archive-file", damaged.string()})),
              0);
    EXPECT_EQ(zelar::test::slurp(damaged), "not a database");

    // The window's setting switches it on for the command line too.
    std::ofstream(config.dir / "Kalvimo" / "Zelar2" / "Modem.ini") << "[Archive]\nEnabled=1\n";
    ASSERT_EQ(waitCli(startCli(config, {"read", "--port", port, "--fast"})), 0);
    EXPECT_EQ(zelar::test::sqlValue((config.dir / "Kalvimo" / "Zelar2" / "archive.sqlite").string(),
                                    "SELECT count(*) FROM visit"),
              "1");
}

// zelar-cli with its stdout and stderr in files of the folder; gives the exit status.
int runCli(const ConfigFolder& config, const std::string& args, std::string& out) {
    const fs::path file = config.dir / "out.txt";
    const std::string command = "XDG_CONFIG_HOME='" + config.dir.string() +
                                "' '" ZELAR_CLI_PATH "' " + args + " >'" + file.string() + "' 2>&1";
    const int status = std::system(command.c_str());
    out = zelar::test::slurp(file);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(CliArchive, TheVerbsShowCompareExportAndMergeWhatWasRecorded) {
    ConfigFolder config("zelar-cli-archive-verbs");
    SimProcess sim({"--ports-dir", config.ports.string(), "--com", std::to_string(kFirstCom + 9)});
    const std::string port = "COM" + std::to_string(kFirstCom + 9);
    const std::string archive = (config.dir / "a.sqlite").string();
    const std::string file = " --archive-file " + archive;
    std::string out;
    ASSERT_EQ(runCli(config, "read --fast --port " + port + file, out), 0) << out;
    ASSERT_EQ(
        runCli(config, "defaults --fast --yes --user 1 --password 1234 --port " + port + file, out),
        0)
        << out;

    ASSERT_EQ(runCli(config, "archive history 7204518 --json" + file, out), 0) << out;
    for (const char* expected :
         {"\"n\": 1", "\"n\": 4", "\"operation\": \"defaults\"", "\"before\": true", "\"port\": \"",
          "\"user\": 1", "\"time\": \"20"}) {
        EXPECT_NE(out.find(expected), std::string::npos) << expected << "\n" << out;
    }
    EXPECT_EQ(out.find("\"n\": 5"), std::string::npos) << out;

    // From the state before factory defaults to the latest: passwords masked unless asked.
    EXPECT_EQ(runCli(config, "archive diff 7204518 3" + file, out), 1);
    EXPECT_NE(out.find("Пользователи #1 / Пароль: запись 3 \"****\", последняя \"****\""),
              std::string::npos)
        << out;
    EXPECT_EQ(runCli(config, "archive diff 7204518 3 --with-secrets" + file, out), 1);
    EXPECT_NE(out.find("последняя \"7391\""), std::string::npos) << out;
    EXPECT_EQ(runCli(config, "archive diff 7204518 1 3" + file, out), 0) << out;
    EXPECT_EQ(runCli(config, "archive diff 7204518 9" + file, out), 1);
    EXPECT_NE(out.find("нет записи 9"), std::string::npos) << out;

    // The state before, exported, is the file backup wrote then; not over a file without --yes.
    const std::string md2 = (config.dir / "before.md2").string();
    ASSERT_EQ(runCli(config, "archive export 7204518 --at 3 " + md2 + file, out), 0) << out;
    const std::string exported = zelar::test::slurp(md2);
    EXPECT_NE(exported.find("S/N: 720451"), std::string::npos);
    EXPECT_EQ(runCli(config, "archive export 7204518 " + md2 + file, out), 1);
    EXPECT_EQ(zelar::test::slurp(md2), exported);
    EXPECT_EQ(runCli(config, "archive export 7204518 --yes " + md2 + file, out), 0);
    EXPECT_NE(zelar::test::slurp(md2), exported);

    ASSERT_EQ(runCli(config, "archive site 7204518 --name 'Склад №2' --note ключ" + file, out), 0);
    ASSERT_EQ(runCli(config, "archive site 7204518 --address 'ул. Ленина, 5'" + file, out), 0);
    ASSERT_EQ(runCli(config, "archive site 7204518" + file, out), 0);
    EXPECT_EQ(out, "name: Склад №2\naddress: ул. Ленина, 5\nnote: ключ\ninstaller: \n");
    ASSERT_EQ(runCli(config, "archive list склад" + file, out), 0);
    EXPECT_TRUE(out.starts_with("7204518\tСклад №2\t")) << out;
    EXPECT_TRUE(out.ends_with("\t4\n")) << out;

    // A whole archive into a new file, then merged into a third twice: nothing twice.
    const std::string copy = (config.dir / "copy.sqlite").string();
    ASSERT_EQ(runCli(config, "archive export-all " + copy + file, out), 0) << out;
    EXPECT_FALSE(fs::exists(copy + "-wal"));
    EXPECT_EQ(zelar::test::sqlValue(copy, "SELECT count(*) FROM visit"), "4");
    EXPECT_EQ(runCli(config, "archive export-all " + copy + file, out), 1);
    const std::string third = " --archive-file " + (config.dir / "third.sqlite").string();
    ASSERT_EQ(runCli(config, "archive import " + copy + third, out), 0) << out;
    ASSERT_EQ(runCli(config, "archive import " + copy + third, out), 0) << out;
    EXPECT_NE(out.find("записей добавлено 0, уже было 4"), std::string::npos) << out;
    ASSERT_EQ(runCli(config, "archive list" + third, out), 0);
    EXPECT_TRUE(out.starts_with("7204518\tСклад №2\t")) << out;

    EXPECT_EQ(runCli(config, "archive history 1" + file, out), 1);
    EXPECT_EQ(runCli(config, "archive frobnicate" + file, out), 2);
    EXPECT_EQ(runCli(config, "archive list --archive-file " + (config.dir / "none").string(), out),
              1);
    EXPECT_FALSE(fs::exists(config.dir / "none"));
}

}  // namespace
