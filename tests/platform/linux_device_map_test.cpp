#include "platform/linux_device_map.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <fstream>

namespace zelar {
namespace {

namespace fs = std::filesystem;

class LinuxDeviceMapTest : public ::testing::Test {
  protected:
    void SetUp() override {
        root = fs::temp_directory_path() /
               ("zelar-devmap-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root);
        fs::create_directories(root / "dev" / "pts");
        fs::create_directories(root / "sys");
        fs::create_directories(root / "ports");
    }
    void TearDown() override { fs::remove_all(root); }

    void device(const std::string& name, const std::string& console = "N",
                const std::string& type = "4") {
        std::ofstream(root / "dev" / name).put('\n');
        fs::create_directories(root / "sys" / name);
        std::ofstream(root / "sys" / name / "console") << console << "\n";
        std::ofstream(root / "sys" / name / "type") << type << "\n";
    }
    void link(const std::string& com, const fs::path& target) {
        fs::create_symlink(target, root / "ports" / com);
    }
    LinuxDeviceMap map() { return LinuxDeviceMap(root / "ports", root / "dev", root / "sys"); }

    fs::path root;
};

TEST_F(LinuxDeviceMapTest, FixedNumbersByDeviceFamily) {
    device("ttyS1");
    device("ttyS3");
    device("ttyUSB0");
    device("ttyUSB2");
    device("ttyACM0");
    std::ofstream(root / "dev" / "ttyX9").put('\n');
    std::ofstream(root / "dev" / "tty5").put('\n');
    auto m = map();
    EXPECT_EQ(m.portNames(), (std::vector<std::string>{"COM2", "COM4", "COM33", "COM35", "COM65"}));
    EXPECT_EQ(*m.devicePath(33), (root / "dev" / "ttyUSB0").string());
    EXPECT_FALSE(m.devicePath(1));
}

TEST_F(LinuxDeviceMapTest, ConsoleAndEmptySlotsAreLeftOut) {
    device("ttyS0", "Y");
    device("ttyS1", "N", "0");
    device("ttyS2");
    auto m = map();
    EXPECT_EQ(m.portNames(), (std::vector<std::string>{"COM3"}));
    EXPECT_FALSE(m.devicePath(1));
}

TEST_F(LinuxDeviceMapTest, LinksComeFirstAndOverrideFixedNumbers) {
    device("ttyS1");
    device("ttyUSB0");
    std::ofstream(root / "dev" / "pts" / "7").put('\n');
    std::ofstream(root / "dev" / "pts" / "8").put('\n');
    link("COM2", root / "dev" / "pts" / "7");
    link("COM200", root / "dev" / "pts" / "8");
    auto m = map();
    EXPECT_EQ(m.portNames(), (std::vector<std::string>{"COM2", "COM33", "COM200"}));
    EXPECT_EQ(*m.devicePath(2), fs::canonical(root / "dev" / "pts" / "7").string());
    EXPECT_EQ(*m.devicePath(200), fs::canonical(root / "dev" / "pts" / "8").string());
}

TEST_F(LinuxDeviceMapTest, BrokenOddAndConsoleLinksAreIgnored) {
    device("ttyS0", "Y");
    link("COM5", root / "dev" / "pts" / "gone");
    link("COMx", root / "dev" / "ttyS0");
    link("COM0", root / "dev" / "ttyS0");
    link("COM1000", root / "dev" / "ttyS0");
    link("COM9", root / "dev" / "ttyS0");
    // Not links to devices: a file, a folder, a link to a folder.
    std::ofstream(root / "ports" / "COM6").put('\n');
    fs::create_directories(root / "ports" / "COM7");
    link("COM8", root / "dev");
    EXPECT_TRUE(map().portNames().empty());
}

TEST_F(LinuxDeviceMapTest, UsbAdaptersNameTheirProduct) {
    device("ttyUSB0");
    device("ttyACM0");
    device("ttyS1");
    // Serial converters sit two levels below the USB device, ACM modems one.
    const fs::path usb = root / "devices" / "usb1" / "1-1";
    fs::create_directories(usb / "1-1:1.0" / "ttyUSB0");
    std::ofstream(usb / "product") << "FT232R USB UART\n";
    fs::create_directory_symlink(usb / "1-1:1.0" / "ttyUSB0", root / "sys" / "ttyUSB0" / "device");
    const fs::path acm = root / "devices" / "usb1" / "1-2";
    fs::create_directories(acm / "1-2:1.0");
    std::ofstream(acm / "product") << "GSM Modem\n";
    fs::create_directory_symlink(acm / "1-2:1.0", root / "sys" / "ttyACM0" / "device");
    auto m = map();
    EXPECT_EQ(m.portDescription(33), (root / "dev" / "ttyUSB0").string() + "\nFT232R USB UART");
    EXPECT_EQ(m.portDescription(65), (root / "dev" / "ttyACM0").string() + "\nGSM Modem");
    EXPECT_EQ(m.portDescription(2), (root / "dev" / "ttyS1").string());
    EXPECT_EQ(m.portDescription(3), "");
}

TEST_F(LinuxDeviceMapTest, MissingFoldersGiveAnEmptyList) {
    LinuxDeviceMap m(root / "nothing", root / "none", root / "nowhere");
    EXPECT_TRUE(m.portNames().empty());
    EXPECT_FALSE(m.devicePath(1));
}

TEST(FixedPortNumber, Families) {
    EXPECT_EQ(*fixedPortNumber("ttyS0"), 1);
    EXPECT_EQ(*fixedPortNumber("ttyUSB1"), 34);
    EXPECT_EQ(*fixedPortNumber("ttyACM0"), 65);
    EXPECT_FALSE(fixedPortNumber("ttyS"));
    EXPECT_FALSE(fixedPortNumber("ttySx"));
    EXPECT_FALSE(fixedPortNumber("ttyS99999"));
}

}  // namespace
}  // namespace zelar
