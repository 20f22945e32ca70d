#include "platform/ports_class.h"

#include <gtest/gtest.h>

namespace zelar {
namespace {

struct NumberCase {
    const char* text;
    std::optional<int> number;
};

TEST(PortsClass, PortNames) {
    const NumberCase cases[] = {
        {"COM5", 5},
        {"com7", 7},
        {"COM999", 999},
        {"COM1000", std::nullopt},
        {"LPT1", std::nullopt},
        {"COM5 ", std::nullopt},
        {"", std::nullopt},
        {"COM-3", std::nullopt},
    };
    for (const NumberCase& c : cases)
        EXPECT_EQ(comNumberOfPortName(c.text), c.number) << c.text;
}

TEST(PortsClass, FriendlyNames) {
    const NumberCase cases[] = {
        {"USB-SERIAL CH340 (COM5)", 5},
        // The product's own brackets come before the port's.
        {"Prolific USB-to-Serial Comm Port (PL2303) (COM12)", 12},
        {"Modem (COM3) (COM4)", 4},
        // The last bracket names no port: an earlier one that does counts.
        {"Silicon Labs CP210x (COM6) (Interface 0)", 6},
        {"Printer Port (LPT1)", std::nullopt},
        {"USB Serial Device", std::nullopt},
        {"Port (COM 5)", std::nullopt},
        {")(COM7", std::nullopt},
        {"", std::nullopt},
    };
    for (const NumberCase& c : cases)
        EXPECT_EQ(comNumberOfFriendlyName(c.text), c.number) << c.text;
}

TEST(PortsClass, APortNameDecidesAndTheFriendlyNameStandsInWithoutOne) {
    const std::vector<PortsClassDevice> devices = {
        {"LPT1", "Printer Port (LPT1)"},
        // Renamed in the device manager: its PortName says COM8, its old text COM3.
        {"COM8", "USB-SERIAL CH340 (COM3)"},
        {"", "Standard Serial over Bluetooth link (COM4)"},
        {"COM9", ""},
        {"COM10", "Intel(R) Active Management Technology - SOL (COM10)"},
    };
    EXPECT_EQ(friendlyNameOfPort(devices, 8), "USB-SERIAL CH340 (COM3)");
    EXPECT_EQ(friendlyNameOfPort(devices, 3), "");
    EXPECT_EQ(friendlyNameOfPort(devices, 4), "Standard Serial over Bluetooth link (COM4)");
    EXPECT_EQ(friendlyNameOfPort(devices, 9), "");
    EXPECT_EQ(friendlyNameOfPort(devices, 10),
              "Intel(R) Active Management Technology - SOL (COM10)");
    EXPECT_EQ(friendlyNameOfPort(devices, 1), "");
    EXPECT_EQ(friendlyNameOfPort({}, 5), "");
}

}  // namespace
}  // namespace zelar
