#include <gtest/gtest.h>

#include <optional>
#include <tuple>

#include "firmware/boot_link.h"
#include "firmware/boot_protocol.h"
#include "sim/installed_modem.h"
#include "sim/sim_serial_port.h"

namespace zelar {
namespace {

class BootLinkTest : public ::testing::Test {
  protected:
    BootLinkTest() { link.SetPortNumber(1); }

    std::string openError() {
        try {
            link.Open();
        } catch (const SerialError& e) {
            return e.what();
        }
        return {};
    }

    sim::VirtualClock clock;
    sim::SimModem modem{sim::installedModem("0205")};
    sim::SimCable cable{clock, modem, 1};
    sim::SimSerialPort port{cable};
    TVaComm link{&port, clock};
};

TEST_F(BootLinkTest, LineSettingsAndItsOwnErrorTexts) {
    link.Open();
    const LineSettings& line = port.settings();
    EXPECT_EQ(std::tie(line.baudRate, line.dtr, line.rts, line.inputQueue, line.outputQueue),
              std::make_tuple(57600, false, false, 4096, 2048));
    EXPECT_EQ(openError(), "Can't perform this operation while port is open");
    try {
        link.WriteBuf(std::string(3000, 'x'));
        ADD_FAILURE();
    } catch (const SerialError& e) {
        EXPECT_STREQ(e.what(), "Output buffer is full. Please check comm status.");
    }
    link.Close();
    link.SetPortNumber(2);
    EXPECT_EQ(openError(), "Specified device not found (COM2).");
}

TEST_F(BootLinkTest, CloseTakes300msOnceOnly) {
    link.Open();
    link.Close();
    EXPECT_EQ(clock.tickMs(), 300);
    link.Close();
    EXPECT_EQ(clock.tickMs(), 300);
}

// The handler waits in the event loop while the block's acknowledgement arrives: it is not
// re-entered, an error it raises is reported, and the waiting character is announced after.
TEST_F(BootLinkTest, ReceivedCharactersOneHandlerAtATime) {
    int depth = 0, maxDepth = 0, calls = 0;
    std::vector<std::string> reads, errors;
    link.OnError = [&](const SerialError& e) { errors.push_back(e.what()); };
    link.OnRxChar = [&] {
        ++calls;
        maxDepth = std::max(maxDepth, ++depth);
        const std::string got = link.ReadAll();
        reads.push_back(got);
        if (got == "!") {
            link.WriteBuf(composeBlock(FirmwareImage(kFirmwareImageSize, 0xFF), 0));
            PumpDelay(clock, 100);
            --depth;
            throw SerialError("boom");
        }
        --depth;
    };
    cable.powerCycle();
    link.Open();
    clock.advanceMs(1000);
    EXPECT_EQ(maxDepth, 1);
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(reads, (std::vector<std::string>{"!", "K"}));
    EXPECT_EQ(errors, (std::vector<std::string>{"boom"}));
}

// A port that throws a given error from one of its calls, as the platform adapters word theirs.
class FaultingPort : public SerialPort {
  public:
    enum class Call { Open, Purge, Write, Read };

    void open(int, const LineSettings&) override {
        raise(Call::Open);
        open_ = true;
    }
    void close() override { open_ = false; }
    bool isOpen() const override { return open_; }
    void purgeInput() override { raise(Call::Purge); }
    void purgeOutput() override {}
    void write(const std::string&) override { raise(Call::Write); }
    std::string readAll() override {
        raise(Call::Read);
        return {};
    }
    void setReceivedHandler(std::function<void()>) override {}

    Call failing = Call::Open;
    std::optional<SerialError> error;

  private:
    void raise(Call call) {
        if (call == failing && error)
            throw *error;
    }
    bool open_ = false;
};

struct PortErrorCase {
    const char* name;
    FaultingPort::Call call;
    SerialError thrown;
    std::string text;  // what the user is shown
    PortFault fault;   // what the link reports it as
};

// Each adapter error, in each call, becomes the boot loader link's own text: the user reads it,
// and a wrong one hides which device or which system error it was.
TEST(BootLinkErrors, EachPortErrorGetsTheLinksText) {
    using Call = FaultingPort::Call;
    const std::vector<PortErrorCase> cases = {
        {"no device behind the number", Call::Open, SerialError("gone", PortFault::NotFound),
         "Specified device not found (COM3).", PortFault::NotFound},
        {"device refuses, named", Call::Open,
         SerialError("Can't open device COM3", PortFault::Open, 13, "/dev/ttyUSB0"),
         "Can't open specified device /dev/ttyUSB0", PortFault::Open},
        {"device refuses, unnamed", Call::Open, SerialError("Can't open device COM3"),
         "Can't open specified device COM3", PortFault::Open},
        {"output queue full", Call::Write,
         SerialError("Write data error [requested: 9, free: 0]", PortFault::OutputFull),
         "Output buffer is full. Please check comm status.", PortFault::OutputFull},
        {"write fails with the system's text", Call::Write,
         SerialError("Write data error", PortFault::Write, 4, "Input/output error"),
         "Write error (4), Input/output error", PortFault::Write},
        {"write fails without a system text", Call::Write,
         SerialError("Write data error [requested: 9, free: 2048]"),
         "Write error (0), Write data error [requested: 9, free: 2048]", PortFault::Write},
        {"device gone while reading", Call::Read,
         SerialError("Read data error", PortFault::Statistics, 6, "Input/output error"),
         "Error retrieving statistics (6), Input/output error", PortFault::Statistics},
        {"read fails", Call::Read, SerialError("Read data error", PortFault::Read, 5, "Bad file"),
         "Read error (5), Bad file", PortFault::Read},
        {"purge fails", Call::Purge, SerialError("Purge failed", PortFault::Clear, 22, ""),
         "Error clearing buffers (22), Purge failed", PortFault::Clear},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        sim::VirtualClock clock;
        FaultingPort port;
        TVaComm link{&port, clock};
        link.SetPortNumber(3);
        port.failing = c.call;
        port.error = c.thrown;
        try {
            link.Open();
            link.PurgeReadWrite();
            link.WriteBuf("x");
            link.ReadAll();
            ADD_FAILURE() << "no error";
        } catch (const SerialError& e) {
            EXPECT_EQ(std::string(e.what()), c.text);
            EXPECT_EQ(e.fault, c.fault);
            EXPECT_EQ(link.Active(), c.call != Call::Open);
        }
    }
}

// Without a second port object: opening fails as a missing device, and the closed link neither
// reads, purges nor pauses on closing.
TEST(BootLinkErrors, MissingPortObjectIsNoDevice) {
    sim::VirtualClock clock;
    TVaComm link{nullptr, clock};
    link.SetPortNumber(4);
    try {
        link.Open();
        ADD_FAILURE() << "no error";
    } catch (const SerialError& e) {
        EXPECT_STREQ(e.what(), "Specified device not found (COM4).");
        EXPECT_EQ(e.fault, PortFault::NotFound);
    }
    EXPECT_FALSE(link.Active());
    EXPECT_EQ(link.ReadAll(), "");
    link.PurgeReadWrite();
    link.Close();
    EXPECT_EQ(clock.tickMs(), 0);
}

// Characters that arrive with nobody listening are left for the next reader.
TEST_F(BootLinkTest, CharactersWithoutAHandlerWaitToBeRead) {
    cable.powerCycle();
    link.Open();
    clock.advanceMs(1000);
    EXPECT_EQ(link.ReadAll(), "!");
}

}  // namespace
}  // namespace zelar
