#include <sys/wait.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "config_folder.h"
#include "sim_process.h"

// zelar-cli flash against the real zelar-sim on a pseudo-terminal.
namespace {

namespace fs = std::filesystem;
using zelar::test::SimProcess;

// Runs a shell command line; returns its exit status and what it wrote on stdout and stderr.
std::pair<int, std::string> run(const std::string& command) {
    std::string out;
    FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr)
        return {-1, out};
    char buffer[4096];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        out.append(buffer, got);
    const int status = ::pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out};
}

// The modem is read and restarted with V39; its boot loader speaks only at 57600 baud, so the
// "!" arrives only once the program has switched the line. Blocks 0 to 2 are acknowledged,
// block 3 is not, and the run ends as a failed transfer.
TEST(CliFlash, RestartsBootLoaderAndStopsAtAnUnacknowledgedBlock) {
    const zelar::test::ConfigFolder config("zelar-flash-e2e");
    const fs::path& dir = config.dir;
    const fs::path& ports = config.ports;
    const fs::path file = dir / "fw.bin";
    std::ofstream(file, std::ios::binary)
        << std::string(100, '\x01') << "     Ver0207" << std::string(2000, '\x02');

    SimProcess sim({"--ports-dir", ports.string(), "--com", "45", "--boot-fault", "no-ack:3"});
    ASSERT_EQ(sim.line().substr(0, 6), "COM45 ");
    const std::string cli = "XDG_CONFIG_HOME='" + dir.string() + "' '" ZELAR_CLI_PATH "' ";

    const auto [infoStatus, info] = run(cli + "fw-info '" + file.string() + "'");
    EXPECT_EQ(infoStatus, 0);
    EXPECT_EQ(info, "version: 0207\npages: 9\n");

    const auto [status, out] = run(cli + "flash --port COM45 --user 1 --password 1234 --trace '" +
                                   (dir / "trace.txt").string() + "' '" + file.string() + "'");
    EXPECT_EQ(status, 1) << out;
    EXPECT_NE(out.find("status: Перезагрузка модема...\nstatus: Запись программы в модем...\n"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("progress 3/495\n[Ошибка] Ошибка записи\n"), std::string::npos) << out;
    EXPECT_NE(out.find("status: Запись завершена с ошибкой."), std::string::npos);
    // The trace follows the program onto the boot loader link.
    std::ifstream traceFile(dir / "trace.txt");
    const std::string trace{std::istreambuf_iterator<char>(traceFile), {}};
    EXPECT_NE(trace.find(" main > "), std::string::npos);
    EXPECT_NE(trace.find(" boot open COM45 57600 baud\n"), std::string::npos) << trace;
    EXPECT_NE(trace.find(" boot < "), std::string::npos);
}

// A payload past the program memory is refused unless all of it there is erased (0xFF); the
// reason is given by fw-info as well as by flash, which refuses the file before the port.
TEST(CliFlash, PayloadBeyondTheProgramMemoryIsRefused) {
    const zelar::test::ConfigFolder config("zelar-flash-size");
    const fs::path& dir = config.dir;
    const fs::path& ports = config.ports;
    const fs::path padded = dir / "padded.bin", large = dir / "large.bin";
    std::string program(126976, '\0');
    for (std::size_t i = 0; i < program.size(); ++i)
        program[i] = static_cast<char>(i * 37 + 11);
    std::ofstream(padded, std::ios::binary) << program << std::string(4096, '\xFF');
    std::ofstream(large, std::ios::binary) << std::string(126976 + 1000, 'A');
    const std::string cli = "XDG_CONFIG_HOME='" + dir.string() + "' '" ZELAR_CLI_PATH "' ";
    const std::string reason =
        "Прошивка 127976 байт не помещается в память программ модема (126976 байт)";

    EXPECT_EQ(run(cli + "fw-info '" + padded.string() + "'"),
              std::make_pair(0, std::string("version: Версия не определена\npages: 496\n")));
    const auto [infoStatus, info] = run(cli + "fw-info '" + large.string() + "'");
    EXPECT_EQ(infoStatus, 2);
    EXPECT_NE(info.find(large.string() + ": " + reason + "\n"), std::string::npos) << info;

    SimProcess sim({"--ports-dir", ports.string(), "--com", "46"});
    const auto [status, out] = run(cli + "flash --port COM46 '" + large.string() + "'");
    EXPECT_EQ(status, 2);
    EXPECT_NE(out.find("[Ошибка] " + reason + "\n"), std::string::npos) << out;
    EXPECT_EQ(out.find("status:"), std::string::npos) << out;
}

}  // namespace
