#pragma once

#include <QObject>
#include <QSerialPort>

#include "platform/device_map.h"
#include "platform/serial_port.h"
#include "ui/error_report.h"
#include "ui/port_open_failure.h"

namespace zelar::ui {

// A serial port object over QSerialPort. Data moves while the event loop runs; reads also
// pull in what the driver holds at that moment.
class QtSerialPort : public QObject, public SerialPort {
    Q_OBJECT
  public:
    explicit QtSerialPort(DeviceMap& devices, QObject* parent = nullptr);
    ~QtSerialPort() override;

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
    using OpenFailure = ui::OpenFailure;
    using OpenFailureInfo = ui::OpenFailureInfo;
    const OpenFailureInfo& lastOpenFailure() const { return openFailure_; }

    // Where errors raised by the received handler go.
    void setErrorReporter(ErrorReporter reporter) { reporter_ = std::move(reporter); }

  private:
    void onError(QSerialPort::SerialPortError error);
    void onReadyRead();
    // Runs the received handler, one call at a time.
    void announce();
    // The error that failed the port: a read error, or a write error for the write it refused.
    SerialError failure() const;

    DeviceMap& devices_;
    QSerialPort port_;
    int outputQueue_ = 0;
    bool failed_ = false;
    int failure_ = 0;
    std::string failureText_;
    std::size_t failedWrite_ = 0;  // the size of the last write, for a write error's text
    // A reader has met the failure already: it needs no call of the handler to learn of it.
    bool failureReported_ = false;
    bool inHandler_ = false;
    bool handlerPending_ = false;
    std::function<void()> handler_;
    ErrorReporter reporter_;
    OpenFailureInfo openFailure_;
};

}  // namespace zelar::ui
