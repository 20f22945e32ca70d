#include "ui/qt_serial_port.h"

#include <QFileInfo>

#include <algorithm>

namespace zelar::ui {

namespace {

std::string writeErrorText(std::size_t requested, qint64 free) {
    return "Write data error [requested: " + std::to_string(requested) +
           ", free: " + std::to_string(free) + "]";
}

// Qt gives one error for a device held by another program (its lock file, or the exclusive
// mode of the terminal) and for a device this user may not open; the device's own permissions
// tell them apart.
QtSerialPort::OpenFailure openFailureKind(QSerialPort::SerialPortError error,
                                          const std::string& device) {
    switch (error) {
        case QSerialPort::DeviceNotFoundError:
            return QtSerialPort::OpenFailure::NoDevice;
        case QSerialPort::PermissionError: {
            const QFileInfo info(QString::fromStdString(device));
            const bool denied = info.exists() && !(info.isReadable() && info.isWritable());
            return denied ? QtSerialPort::OpenFailure::Denied : QtSerialPort::OpenFailure::InUse;
        }
        default:
            return QtSerialPort::OpenFailure::Other;
    }
}

}  // namespace

QtSerialPort::QtSerialPort(DeviceMap& devices, QObject* parent)
    : QObject(parent), devices_(devices) {
    connect(&port_, &QSerialPort::errorOccurred, this, &QtSerialPort::onError);
    connect(&port_, &QSerialPort::readyRead, this, &QtSerialPort::onReadyRead);
}

QtSerialPort::~QtSerialPort() {
    // The port object outlives this one's members while it closes; it must not call back.
    QObject::disconnect(&port_, nullptr, this, nullptr);
    port_.close();
}

void QtSerialPort::open(int portNumber, const LineSettings& settings) {
    close();
    const std::string failure = "Can't open device COM" + std::to_string(portNumber);
    const auto device = devices_.devicePath(portNumber);
    openFailure_ = {OpenFailure::NoDevice, portNumber, {}};
    if (!device)
        throw SerialError(failure, PortFault::NotFound);

    port_.setPortName(QString::fromStdString(*device));
    port_.setBaudRate(settings.baudRate);
    port_.setDataBits(QSerialPort::Data8);
    port_.setParity(QSerialPort::NoParity);
    port_.setStopBits(QSerialPort::OneStop);
    port_.setFlowControl(QSerialPort::NoFlowControl);
    port_.setReadBufferSize(settings.inputQueue);
    if (!port_.open(QIODevice::ReadWrite)) {
        openFailure_ = {openFailureKind(port_.error(), *device), portNumber,
                        port_.errorString().toStdString()};
        // For an open, the detail is the device that could not be opened.
        throw SerialError(failure, PortFault::Open, port_.error(), *device);
    }
    openFailure_ = {};

    // Line parameters are set by now. A pseudo-terminal refuses the modem control lines; the
    // data path works regardless, so a refusal here is no reason to fail the open.
    port_.setDataTerminalReady(settings.dtr);
    port_.setRequestToSend(settings.rts);
    port_.clearError();
    outputQueue_ = settings.outputQueue;
}

void QtSerialPort::close() {
    failed_ = false;
    failureReported_ = false;
    if (port_.isOpen())
        port_.close();
}

bool QtSerialPort::isOpen() const {
    return port_.isOpen() || failed_;
}

void QtSerialPort::purgeInput() {
    if (port_.isOpen())
        port_.clear(QSerialPort::Input);
}

void QtSerialPort::purgeOutput() {
    if (port_.isOpen())
        port_.clear(QSerialPort::Output);
}

SerialError QtSerialPort::failure() const {
    // The code is QSerialPort's error kind, the text the system's (strerror) as Qt gives it.
    if (failure_ == QSerialPort::WriteError)
        return SerialError(writeErrorText(failedWrite_, outputQueue_), PortFault::Write, failure_,
                           failureText_);
    // A device that is gone cannot even tell what waits in its queue.
    const PortFault fault =
        failure_ == QSerialPort::ResourceError ? PortFault::Statistics : PortFault::Read;
    return SerialError("Read data error", fault, failure_, failureText_);
}

void QtSerialPort::write(const std::string& bytes) {
    if (failed_ || !port_.isOpen()) {
        failureReported_ = failed_;
        throw SerialError(writeErrorText(bytes.size(), 0));
    }
    const qint64 free = std::max<qint64>(0, outputQueue_ - port_.bytesToWrite());
    if (static_cast<qint64>(bytes.size()) > free)
        throw SerialError(writeErrorText(bytes.size(), free), PortFault::OutputFull);
    if (bytes.empty())
        return;
    failedWrite_ = bytes.size();
    const auto size = static_cast<qint64>(bytes.size());
    const bool queued = port_.write(bytes.data(), size) == size;
    // flush() is also false when the driver took nothing this time, which is no failure; the
    // port's error state is what tells (a refused write, or a device that has gone).
    port_.flush();
    if (!queued || failed_) {
        failureReported_ = failed_;
        throw SerialError(writeErrorText(bytes.size(), free), PortFault::Write,
                          failed_ ? failure_ : port_.error(),
                          failed_ ? failureText_ : port_.errorString().toStdString());
    }
}

std::string QtSerialPort::readAll() {
    if (!failed_ && port_.isOpen())
        port_.waitForReadyRead(0);
    if (failed_) {
        failureReported_ = true;
        throw failure();
    }
    if (!port_.isOpen())
        return {};
    const QByteArray data = port_.readAll();
    return std::string(data.constData(), static_cast<std::size_t>(data.size()));
}

void QtSerialPort::setReceivedHandler(std::function<void()> handler) {
    handler_ = std::move(handler);
}

void QtSerialPort::onError(QSerialPort::SerialPortError error) {
    if (error != QSerialPort::ReadError && error != QSerialPort::ResourceError &&
        error != QSerialPort::WriteError)
        return;
    if (failed_)
        return;
    // A hung-up device repeats the error as fast as the loop turns; one is enough. The port is
    // closed from the loop, not from inside its own signal. A reader that waits only for the
    // received handler (nothing is being read) hears of the failure through it: its readAll
    // throws the port's error.
    failed_ = true;
    failure_ = error;
    failureText_ = port_.errorString().toStdString();
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (!failed_)
                return;
            port_.close();
            if (!failureReported_)
                announce();
        },
        Qt::QueuedConnection);
}

void QtSerialPort::onReadyRead() {
    announce();
}

void QtSerialPort::announce() {
    if (!handler_)
        return;
    if (inHandler_) {
        // The handler pumps events; the next notification waits until it has returned.
        handlerPending_ = true;
        return;
    }
    inHandler_ = true;
    do {
        handlerPending_ = false;
        const auto handler = handler_;
        runReported(reporter_, handler);
    } while (handlerPending_ && handler_ &&
             (port_.bytesAvailable() > 0 || (failed_ && !failureReported_)));
    inHandler_ = false;
}

}  // namespace zelar::ui
