#pragma once

#include <functional>
#include <string>

#include "platform/event_pump.h"
#include "platform/serial_port.h"

namespace zelar {

// The boot loader link `VaComm2`: the second serial port object on the modem's port, used only
// while programming the controller. 57600 8N1 without any flow control, DTR and RTS held off;
// received characters are announced on the UI thread, one notification at a time.
//
// Its errors carry its own texts. On Linux, in "Write error (%d), %s", "Read error (%d), %s",
// "Error retrieving statistics (%d), %s" and "Error clearing buffers (%d), %s", %d is the error
// number the port adapter gives and %s its text: with QSerialPort, the number of its
// SerialPortError kind (4 a write error, 5 a read error, 6 a device that is gone, reported as
// "Error retrieving statistics") and Qt's text of the system error (strerror of errno). QSerialPort
// does not report purge failures, so "Error clearing buffers" comes only from other adapters.
// In "Can't open specified device %s" %s is the device behind the port number (/dev/ttyUSB0);
// in "Specified device not found (%s)." it is "COM" and the number that has no device.
class TVaComm {
  public:
    static constexpr int kCloseSettleMs = 300;

    // `port` may be missing: the program then has no second port object and every open fails.
    TVaComm(SerialPort* port, EventPump& pump);
    ~TVaComm();
    TVaComm(const TVaComm&) = delete;
    TVaComm& operator=(const TVaComm&) = delete;

    void SetPortNumber(int number) { portNumber_ = number; }
    int portNumber() const { return portNumber_; }
    // Refused with "Can't perform this operation while port is open" when already open.
    void Open();
    // Releases the port, then lets 300 ms pass with events running before it returns, as the
    // modem's port needs; closing a closed link does nothing and takes no time.
    void Close();
    bool Active() const;

    void PurgeReadWrite();
    void WriteBuf(const std::string& bytes);
    // Everything received and not yet read; never waits.
    std::string ReadAll();

    // Received characters: runs on the UI thread and is never re-entered, also while it waits
    // in the event loop. An error it raises goes to `OnError`, and notifications go on.
    std::function<void()> OnRxChar;
    std::function<void(const SerialError&)> OnError;

  private:
    void deliver();
    [[noreturn]] void fail(const SerialError& error, PortFault expected, const std::string& what);
    SerialPort& port();

    SerialPort* port_;
    EventPump& pump_;
    int portNumber_ = 0;
};

}  // namespace zelar
