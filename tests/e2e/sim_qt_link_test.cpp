#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <filesystem>

#include "e2e/sim_process.h"
#include "link/commands.h"
#include "link/modem_link.h"
#include "link/reply.h"
#include "platform/linux_device_map.h"
#include "ui/qt_event_pump.h"
#include "ui/qt_serial_port.h"

// The real zelar-sim, reached through the program's own main link over QSerialPort.
namespace zelar::ui {
namespace {

constexpr int kPort = 61;

TEST(SimThroughQtLink, IdentificationAndSettingsMemoryRoundTrip) {
    QTemporaryDir dir;
    const std::string ports = (dir.path() + "/ports").toStdString();
    const std::filesystem::path linkFile = std::filesystem::path(ports) / "COM61";
    LinuxDeviceMap devices{ports};
    QtSerialPort port{devices};
    QtEventPump pump;
    TModemLink link{port, pump};

    test::SimProcess sim({"--ports-dir", ports, "--com", std::to_string(kPort)});
    ASSERT_EQ(sim.line().rfind("COM61 /dev/", 0), 0u) << sim.line();
    EXPECT_TRUE(std::filesystem::is_symlink(linkFile));

    link.Open(kPort);
    link.PurgeInput();
    link.Send(commandV22());
    const std::string id = link.CollectReply(50, 24);
    ASSERT_EQ(id.size(), 24u);
    EXPECT_EQ(*payloadText(id, 1, 16), "2045180702050102");

    link.PurgeInput();
    link.Send(commandV16(0x0120, {'1', '.', '2', '.', '3', '.', '4', ' '}));
    EXPECT_TRUE(link.WaitForOK(50));

    link.PurgeInput();
    link.Send(commandV17(0x0120, 8));
    const std::string reply = link.CollectReply(50, dataReplyLength(8));
    ASSERT_TRUE(checkFrame(reply, 8)) << reply;
    EXPECT_EQ(*decodePayload(reply, 8),
              (std::vector<std::uint8_t>{'1', '.', '2', '.', '3', '.', '4', ' '}));
    link.Close();

    EXPECT_EQ(sim.stop(), 0);
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(linkFile)));
}

}  // namespace
}  // namespace zelar::ui
