#include "link/modem_link.h"

#include "link/reply.h"

namespace zelar {

TModemLink::TModemLink(SerialPort& port, EventPump& pump) : port_(port), pump_(pump) {}

TModemLink::~TModemLink() {
    Close();
}

void TModemLink::Open(int portNumber) {
    Close();
    portNumber_ = portNumber;
    if (portNumber <= 0) {
        throw SerialError("Invalid port number (COM" + std::to_string(portNumber) + ")");
    }
    struct BusyGuard {
        const std::function<void(bool)>& hook;
        explicit BusyGuard(const std::function<void(bool)>& h) : hook(h) {
            if (hook)
                hook(true);
        }
        ~BusyGuard() {
            if (hook)
                hook(false);
        }
    } busy(onBusy);
    port_.open(portNumber, LineSettings{});
}

void TModemLink::Close() {
    if (port_.isOpen())
        port_.close();
}

bool TModemLink::isOpen() const {
    return port_.isOpen();
}

void TModemLink::PurgeInput() {
    if (port_.isOpen())
        port_.purgeInput();
}

void TModemLink::PurgeOutput() {
    if (port_.isOpen())
        port_.purgeOutput();
}

void TModemLink::Send(const std::string& line) {
    if (line.empty() || !port_.isOpen())
        return;
    port_.write(line);
}

std::string TModemLink::ReadAvailable() {
    return port_.isOpen() ? port_.readAll() : std::string();
}

void TModemLink::PumpDelay(int ms) {
    zelar::PumpDelay(pump_, ms);
}

std::string TModemLink::WaitReply(int ms, const ReplyComplete& complete) {
    return PumpCollect(
        pump_, ms, [this] { return ReadAvailable(); }, fast_ ? complete : nullptr);
}

std::string TModemLink::CollectReply(int polls, std::size_t expectedLength) {
    std::string reply;
    for (int i = 0; i < polls; ++i) {
        reply += WaitReply(kPollMs, [&](const std::string& part) {
            return isCompleteFrame(reply + part, expectedLength);
        });
        if (reply.size() >= expectedLength)
            break;
    }
    return reply;
}

bool TModemLink::WaitForOK(int polls) {
    for (int i = 0; i < polls; ++i) {
        if (WaitReply(kPollMs, isCompleteAck).find("OK") != std::string::npos)
            return true;
    }
    return false;
}

}  // namespace zelar
