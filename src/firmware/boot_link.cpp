#include "firmware/boot_link.h"

#include "firmware/boot_protocol.h"

namespace zelar {

namespace {

LineSettings bootLineSettings() {
    LineSettings s;
    s.baudRate = kBootBaud;
    s.dtr = false;
    s.rts = false;
    s.inputQueue = 4096;
    s.outputQueue = 2048;
    return s;
}

std::string withCode(const std::string& head, const SerialError& error) {
    const std::string detail = error.detail.empty() ? std::string(error.what()) : error.detail;
    return head + " (" + std::to_string(error.code) + "), " + detail;
}

}  // namespace

TVaComm::TVaComm(SerialPort* port, EventPump& pump) : port_(port), pump_(pump) {}

TVaComm::~TVaComm() {
    if (port_ == nullptr)
        return;
    port_->setReceivedHandler({});
    port_->close();  // no pause: the program is ending
}

SerialPort& TVaComm::port() {
    if (port_ == nullptr)
        throw SerialError("Specified device not found (COM" + std::to_string(portNumber_) + ").",
                          PortFault::NotFound);
    return *port_;
}

bool TVaComm::Active() const {
    return port_ != nullptr && port_->isOpen();
}

void TVaComm::fail(const SerialError& error, PortFault expected, const std::string& what) {
    const std::string com = "COM" + std::to_string(portNumber_);
    switch (expected) {
        case PortFault::Open:
            if (error.fault == PortFault::NotFound)
                throw SerialError("Specified device not found (" + com + ").", PortFault::NotFound);
            throw SerialError(
                "Can't open specified device " + (error.detail.empty() ? com : error.detail),
                PortFault::Open, error.code, error.detail);
        case PortFault::Write:
            if (error.fault == PortFault::OutputFull)
                throw SerialError("Output buffer is full. Please check comm status.",
                                  PortFault::OutputFull);
            break;
        case PortFault::Read:
            if (error.fault == PortFault::Statistics) {
                throw SerialError(withCode("Error retrieving statistics", error),
                                  PortFault::Statistics, error.code, error.detail);
            }
            break;
        default:
            break;
    }
    throw SerialError(withCode(what, error), expected, error.code, error.detail);
}

void TVaComm::Open() {
    if (Active())
        throw SerialError("Can't perform this operation while port is open");
    SerialPort& p = port();
    try {
        p.open(portNumber_, bootLineSettings());
    } catch (const SerialError& error) {
        fail(error, PortFault::Open, {});
    }
    p.setReceivedHandler([this] { deliver(); });
}

void TVaComm::Close() {
    if (!Active())
        return;
    port_->setReceivedHandler({});
    port_->close();
    PumpDelay(pump_, kCloseSettleMs);
}

void TVaComm::PurgeReadWrite() {
    if (!Active())
        return;
    try {
        port_->purgeInput();
        port_->purgeOutput();
    } catch (const SerialError& error) {
        fail(error, PortFault::Clear, "Error clearing buffers");
    }
}

void TVaComm::WriteBuf(const std::string& bytes) {
    try {
        port().write(bytes);
    } catch (const SerialError& error) {
        fail(error, PortFault::Write, "Write error");
    }
}

std::string TVaComm::ReadAll() {
    if (!Active())
        return {};
    try {
        return port_->readAll();
    } catch (const SerialError& error) {
        fail(error, PortFault::Read, "Read error");
    }
}

void TVaComm::deliver() {
    // The port object never re-enters this; it holds further notifications until it returns.
    if (!OnRxChar)
        return;
    // The handler may detach itself (closing the link) while it runs: call a copy.
    const std::function<void()> handler = OnRxChar;
    try {
        handler();
    } catch (const SerialError& error) {
        if (OnError)
            OnError(error);
    }
}

}  // namespace zelar
