#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "sim_process.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

// The real zelar-sim on a pseudo-terminal, talked to through plain POSIX termios.
namespace {

namespace fs = std::filesystem;
using zelar::test::readFor;
using zelar::test::SimProcess;

int openDevice(const std::string& path, speed_t speed) {
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY);
    if (fd < 0)
        return fd;
    termios t{};
    ::tcgetattr(fd, &t);
    ::cfmakeraw(&t);
    ::cfsetispeed(&t, speed);
    ::cfsetospeed(&t, speed);
    ::tcsetattr(fd, TCSANOW, &t);
    return fd;
}

void setSpeed(int fd, speed_t speed) {
    termios t{};
    ::tcgetattr(fd, &t);
    ::cfsetispeed(&t, speed);
    ::cfsetospeed(&t, speed);
    ::tcsetattr(fd, TCSANOW, &t);
}

std::string exchange(int fd, const std::string& line, std::size_t expected) {
    if (::write(fd, line.data(), line.size()) != static_cast<ssize_t>(line.size()))
        return {};
    return readFor(fd, expected, 2000);
}

class SimPty : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("zelar-sim-pty-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    fs::path ports() const { return dir_ / "ports"; }
    fs::path dir_;
};

TEST_F(SimPty, AnswersOnThePtyAndRegistersItsComLink) {
    SimProcess sim({"--ports-dir", ports().string()});
    std::istringstream words(sim.line());
    std::string com, device;
    words >> com >> device;
    ASSERT_EQ(com, "COM200") << sim.line();
    ASSERT_EQ(fs::read_symlink(ports() / com), fs::path(device));

    const int fd = openDevice(device, B115200);
    ASSERT_GE(fd, 0);
    const std::string id = exchange(fd, "AT+V22\r", 24);
    EXPECT_EQ(id.size(), 24u);
    EXPECT_EQ(id, "\r\n2045180702050102\r\nOK\r\n");
    EXPECT_EQ(exchange(fd, "AT+V1700000008\r", 24), "\r\n0000000000010000\r\nOK\r\n");
    EXPECT_EQ(exchange(fd, "AT+V160005000203A1\r", 6), "\r\nOK\r\n");
    EXPECT_EQ(exchange(fd, "AT+V1700050002\r", 12), "\r\n03A1\r\nOK\r\n");
    ::close(fd);

    EXPECT_EQ(sim.stop(SIGTERM), 0);
    EXPECT_FALSE(fs::exists(fs::symlink_status(ports() / com)));
}

TEST_F(SimPty, TakesTheNextFreeNumberAndHonoursSigint) {
    SimProcess first({"--ports-dir", ports().string()});
    SimProcess second({"--ports-dir", ports().string()});
    EXPECT_EQ(first.line().substr(0, 7), "COM200 ");
    EXPECT_EQ(second.line().substr(0, 7), "COM199 ");
    SimProcess chosen({"--ports-dir", ports().string(), "--com", "7"});
    EXPECT_EQ(chosen.line().substr(0, 5), "COM7 ");
    EXPECT_EQ(second.stop(SIGINT), 0);
    EXPECT_FALSE(fs::exists(fs::symlink_status(ports() / "COM199")));
    EXPECT_TRUE(fs::is_symlink(ports() / "COM200"));
}

TEST_F(SimPty, RemovesTheLinksOfSimulatorsThatHaveGone) {
    SimProcess killed({"--ports-dir", ports().string(), "--com", "42"});
    ASSERT_TRUE(fs::is_symlink(ports() / "COM42"));
    EXPECT_EQ(killed.stop(SIGKILL), -1);
    ASSERT_TRUE(fs::is_symlink(ports() / "COM42"));

    // A dead simulator's link whose device number another program now uses.
    const pid_t gone = ::fork();
    if (gone == 0)
        ::_exit(0);
    ::waitpid(gone, nullptr, 0);
    fs::create_symlink("/dev/null", ports() / "COM200");
    std::ofstream(ports() / "COM200.owner") << gone << '\n';
    // A link the user made, with no owner.
    fs::create_symlink("/dev/null", ports() / "COM7");

    SimProcess next({"--ports-dir", ports().string()});
    const std::string device = next.line().substr(7, next.line().size() - 8);
    EXPECT_EQ(next.line().substr(0, 7), "COM200 ");
    EXPECT_EQ(fs::read_symlink(ports() / "COM200"), fs::path(device));
    EXPECT_FALSE(fs::exists(fs::symlink_status(ports() / "COM42")));
    EXPECT_FALSE(fs::exists(ports() / "COM42.owner"));
    EXPECT_TRUE(fs::is_symlink(ports() / "COM7"));
    EXPECT_EQ(next.stop(), 0);
    EXPECT_FALSE(fs::exists(ports() / "COM200.owner"));
}

// Simulators started together each take a number of their own and keep a live link and owner
// file; none is cleared away by another's start.
TEST_F(SimPty, SimulatorsStartedAtOnceTakeNumbersOfTheirOwn) {
    constexpr int kCount = 8;
    std::vector<std::unique_ptr<SimProcess>> sims;
    for (int i = 0; i < kCount; ++i)
        sims.push_back(std::make_unique<SimProcess>(
            std::vector<std::string>{"--ports-dir", ports().string()}, false));
    std::set<std::string> numbers;
    for (auto& sim : sims) {
        std::istringstream words(sim->readLine());
        std::string com, device;
        words >> com >> device;
        ASSERT_FALSE(com.empty()) << "a simulator did not come up";
        numbers.insert(com);
        EXPECT_EQ(fs::read_symlink(ports() / com), fs::path(device)) << com;
    }
    EXPECT_EQ(numbers.size(), static_cast<std::size_t>(kCount));
    // Another start clears only the dead: every link and owner file stays.
    SimProcess later({"--ports-dir", ports().string()});
    for (const std::string& com : numbers) {
        EXPECT_TRUE(fs::is_symlink(ports() / com)) << com;
        std::ifstream owner(ports() / (com + ".owner"));
        long long pid = 0;
        EXPECT_TRUE(owner >> pid && ::kill(static_cast<pid_t>(pid), 0) == 0) << com;
    }
    for (auto& sim : sims)
        EXPECT_EQ(sim->stop(), 0);
    // Nothing is left behind, temporary names included.
    EXPECT_EQ(later.stop(), 0);
    EXPECT_TRUE(fs::is_empty(ports()));
}

TEST_F(SimPty, SavesTheStateFileAtExitEvenUnchanged) {
    const fs::path state = dir_ / "modem.state";
    SimProcess sim({"--ports-dir", ports().string(), "--state", state.string()});
    EXPECT_EQ(sim.stop(), 0);
    EXPECT_TRUE(fs::exists(state));
}

TEST_F(SimPty, StateFileKeepsWhatWasWritten) {
    const std::string state = (dir_ / "modem.state").string();
    {
        SimProcess sim({"--ports-dir", ports().string(), "--state", state});
        const std::string device = sim.line().substr(sim.line().find(' ') + 1, std::string::npos);
        const int fd = openDevice(device.substr(0, device.size() - 1), B115200);
        ASSERT_GE(fd, 0);
        EXPECT_EQ(exchange(fd, "AT+V160218000103\r", 6), "\r\nOK\r\n");
        ::close(fd);
        EXPECT_EQ(sim.stop(), 0);
    }
    SimProcess again({"--ports-dir", ports().string(), "--state", state});
    const std::string device = again.line().substr(again.line().find(' ') + 1);
    const int fd = openDevice(device.substr(0, device.size() - 1), B115200);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(exchange(fd, "AT+V1702180001\r", 10), "\r\n03\r\nOK\r\n");
    ::close(fd);
}

TEST_F(SimPty, BootLoaderAnswersAtItsOwnSpeed) {
    SimProcess sim({"--ports-dir", ports().string(), "--restart-ms", "100"});
    const std::string device = sim.line().substr(sim.line().find(' ') + 1);
    const int fd = openDevice(device.substr(0, device.size() - 1), B115200);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(exchange(fd, "AT+V39\r", 6), "\r\nOK\r\n");
    setSpeed(fd, B57600);
    EXPECT_EQ(readFor(fd, 1, 2000), "!");
    std::string block = "W";
    block += '\0';
    block += '\0';
    block += std::string(256, '\x0D');
    unsigned sum = 0;
    for (char c : block)
        sum += static_cast<unsigned char>(c);
    block += static_cast<char>((0x100 - (sum & 0xFF)) & 0xFF);
    EXPECT_EQ(exchange(fd, block, 1), "K");
    block.back() = static_cast<char>(block.back() + 1);
    EXPECT_EQ(exchange(fd, block, 1), "E");
    ::close(fd);
}

TEST_F(SimPty, HelpAndBadOptions) {
    SimProcess help({"--help"});
    const std::string text = help.line() + help.stdoutRest();
    EXPECT_NE(text.find("--fault KIND"), std::string::npos);
    EXPECT_NE(text.find("--ports-dir"), std::string::npos);
    EXPECT_EQ(help.waitForExit(), 0);
    SimProcess bad({"--fault", "loud"});
    EXPECT_EQ(bad.line(), "");
    EXPECT_EQ(bad.waitForExit(), 2);
}

}  // namespace
