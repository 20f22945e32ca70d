#pragma once

#include <QObject>
#include <QTimer>
#include <string>

#include "platform/device_map.h"
#include "platform/serial_port.h"
#include "ui/error_report.h"
#include "ui/port_open_failure.h"

namespace zelar::ui {

// A serial port object over plain Win32 calls: no overlapped I/O, reads return at once with
// what the driver holds (ReadIntervalTimeout = MAXDWORD) and are polled from the event loop.
// Polling needs no event from the driver, which is what works on every Windows serial driver
// and under wine, where a pseudo-terminal cannot report its modem lines and overlapped waits
// never complete.
class Win32SerialPort : public QObject, public SerialPort {
    Q_OBJECT
  public:
    explicit Win32SerialPort(DeviceMap& devices, QObject* parent = nullptr);
    ~Win32SerialPort() override;

    void open(int portNumber, const LineSettings& settings) override;
    void close() override;
    // Stays true after a driver failure until close(), so the failure reaches the reader.
    bool isOpen() const override;

    void purgeInput() override;
    void purgeOutput() override;
    void write(const std::string& bytes) override;
    std::string readAll() override;
    void setReceivedHandler(std::function<void()> handler) override;

    // Why the last open failed; None after an open that worked.
    const OpenFailureInfo& lastOpenFailure() const { return openFailure_; }

    // Where errors raised by the received handler go.
    void setErrorReporter(ErrorReporter reporter) { reporter_ = std::move(reporter); }

  private:
    // Moves what the driver holds into received_; a failure closes the handle and is kept.
    void pull();
    void fail(PortFault fault);
    void onPoll();
    void updatePolling();
    SerialError readError() const;

    DeviceMap& devices_;
    void* handle_;  // a Win32 HANDLE; INVALID_HANDLE_VALUE when closed
    int outputQueue_ = 0;
    std::string received_;
    bool failed_ = false;
    PortFault failure_ = PortFault::Read;
    unsigned long failureCode_ = 0;
    std::string failureText_;
    bool inHandler_ = false;
    std::function<void()> handler_;
    ErrorReporter reporter_;
    QTimer poll_;
    OpenFailureInfo openFailure_;
};

}  // namespace zelar::ui
