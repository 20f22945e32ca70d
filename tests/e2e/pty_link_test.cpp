#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <string>
#include <vector>

#include "e2e/pty_peer.h"
#include "link/commands.h"
#include "link/modem_link.h"
#include "platform/linux_device_map.h"
#include "ui/qt_event_pump.h"
#include "ui/qt_serial_port.h"

namespace zelar::ui {
namespace {

constexpr int kPort = 57;
const std::string kIdentification = "\r\n0012345601020304\r\nOK\r\n";

// The main link over QSerialPort, through a real pseudo-terminal registered as a COM link.
class PtyLink : public ::testing::Test {
  protected:
    QTemporaryDir dir;
    QString ports = dir.path() + "/ports";
    test::PtyPeer peer{ports, kPort};
    LinuxDeviceMap devices{ports.toStdString()};
    QtSerialPort port{devices};
    QtEventPump pump;
    TModemLink link{port, pump};
};

TEST_F(PtyLink, IdentificationReplyArrivesWhole) {
    ASSERT_TRUE(peer.ok());
    peer.onReceived = [&](const std::string&) {
        if (peer.received == "AT+V22\r")
            peer.send(kIdentification);
    };
    ASSERT_EQ(kIdentification.size(), 24u);

    link.Open(kPort);
    link.PurgeInput();
    link.Send(commandV22());
    EXPECT_EQ(link.CollectReply(50, 24), kIdentification);
    EXPECT_EQ(peer.received, "AT+V22\r");
    link.Close();
}

TEST_F(PtyLink, AFailedOpenTellsAMissingDeviceFromOneInUse) {
    ASSERT_TRUE(peer.ok());
    using Failure = QtSerialPort::OpenFailure;
    QFile::link(dir.path() + "/gone", ports + "/COM" + QString::number(kPort + 2));
    for (const int missing : {kPort + 1, kPort + 2}) {
        EXPECT_THROW(port.open(missing, LineSettings{}), SerialError);
        EXPECT_EQ(port.lastOpenFailure().kind, Failure::NoDevice) << missing;
        EXPECT_EQ(port.lastOpenFailure().portNumber, missing);
    }
    port.open(kPort, LineSettings{});
    EXPECT_EQ(port.lastOpenFailure().kind, Failure::None);
    QtSerialPort other{devices};
    EXPECT_THROW(other.open(kPort, LineSettings{}), SerialError);
    EXPECT_EQ(other.lastOpenFailure().kind, Failure::InUse);
}

TEST_F(PtyLink, EveryByteValuePassesUnchanged) {
    ASSERT_TRUE(peer.ok());
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    peer.onReceived = [&](const std::string&) {
        if (peer.received.size() == all.size())
            peer.send(all);
    };

    link.Open(kPort);
    link.Send(all);
    EXPECT_EQ(link.CollectReply(20, all.size()), all);
    EXPECT_EQ(peer.received, all);
}

TEST_F(PtyLink, MissingDeviceAndFullOutputQueueGiveTheComponentTexts) {
    try {
        link.Open(kPort + 1);
        FAIL() << "opened a port without a device";
    } catch (const SerialError& e) {
        EXPECT_STREQ(e.what(), "Can't open device COM58");
    }
    EXPECT_FALSE(link.isOpen());

    ASSERT_TRUE(peer.ok());
    link.Open(kPort);
    try {
        link.Send(std::string(3000, 'x'));
        FAIL() << "more than the output queue was accepted";
    } catch (const SerialError& e) {
        EXPECT_STREQ(e.what(), "Write data error [requested: 3000, free: 2048]");
    }
}

TEST_F(PtyLink, HangUpMakesTheNextReadFail) {
    ASSERT_TRUE(peer.ok());
    link.Open(kPort);
    peer.hangUp();
    link.PumpDelay(100);

    EXPECT_THROW(link.ReadAvailable(), SerialError);
    link.Close();
    EXPECT_FALSE(link.isOpen());
    EXPECT_EQ(link.ReadAvailable(), "");
}

// A reader that only waits for the received handler (the boot loader link waiting for its "!")
// hears of a device that has gone: the handler runs once and its read throws the port's error.
TEST_F(PtyLink, AGoneDeviceCallsTheReceivedHandlerOnce) {
    ASSERT_TRUE(peer.ok());
    std::vector<std::string> errors;
    port.setErrorReporter([&](const std::exception& e) { errors.push_back(e.what()); });
    int calls = 0;
    port.setReceivedHandler([&] {
        ++calls;
        port.readAll();
    });
    link.Open(kPort);
    link.PumpDelay(100);
    EXPECT_EQ(calls, 0);

    peer.hangUp();
    link.PumpDelay(300);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(errors, std::vector<std::string>{"Read data error"});
}

// The write itself reports the failure, with the write's own text, not a silent line later.
TEST_F(PtyLink, AWriteToAGoneDeviceThrowsTheWriteError) {
    ASSERT_TRUE(peer.ok());
    link.Open(kPort);
    peer.hangUp();
    try {
        link.Send(commandV22());
        FAIL() << "the write to a device that has gone was taken";
    } catch (const SerialError& e) {
        EXPECT_STREQ(e.what(), "Write data error [requested: 7, free: 2048]");
        EXPECT_EQ(e.fault, PortFault::Write);
        EXPECT_FALSE(e.detail.empty());
    }
}

}  // namespace
}  // namespace zelar::ui
