#include "sim/sim_serial_port.h"

#include <algorithm>
#include <memory>

namespace zelar::sim {

namespace {

// What a system serial port adapter reports for a device pulled while open: its "resource"
// error kind and the system's text for the failed read.
constexpr int kGoneCode = 6;
constexpr const char* kGoneText = "Input/output error";

}  // namespace

SimCable::SimCable(VirtualClock& clock, SimModem& modem, int portNumber)
    : clock_(clock), modem_(modem), portNumber_(portNumber) {
    modem_.setLine(false, baud_, now());
    pumpModem();
}

SimCable::~SimCable() {
    for (const auto id : timers_)
        clock_.stopTimer(id);
}

EventPump::TimerId SimCable::schedule(std::int64_t dueUs, std::function<void()> action) {
    // The id is only known after scheduling, so the callback finds it through a shared slot.
    auto slot = std::make_shared<EventPump::TimerId>(0);
    const auto id = clock_.scheduleAtUs(dueUs, [this, slot, action = std::move(action)] {
        timers_.erase(*slot);
        deliveries_.erase(*slot);
        action();
    });
    *slot = id;
    timers_.insert(id);
    return id;
}

void SimCable::powerCycle() {
    modem_.powerCycle(now());
    pumpModem();
}

void SimCable::vanish() {
    present_ = false;
    SimSerialPort* port = owner_;
    if (port == nullptr)
        return;
    detach(port);  // the modem's line goes dead with it
    port->gone_ = true;
    // A handler already running meets the failure at its next read.
    if (inHandler_ || !port->handler_)
        return;
    const std::function<void()> handler = port->handler_;
    inHandler_ = true;
    handler();
    inHandler_ = false;
}

void SimCable::attach(SimSerialPort* port, int baud) {
    collectArrived();  // what arrived while nobody listened is lost
    owner_ = port;
    baud_ = baud;
    inputLimit_ = port->settings_.inputQueue;
    outputLimit_ = port->settings_.outputQueue;
    hostTxFreeUs_ = now();
    modem_.setLine(true, baud_, now());
    pumpModem();
}

void SimCable::detach(SimSerialPort* port) {
    if (owner_ != port)
        return;
    cancelTransmission();
    collectArrived();
    received_.clear();
    owner_ = nullptr;
    notifyHeld_ = false;
    modem_.setLine(false, baud_, now());
    pumpModem();
}

void SimCable::transmit(const std::string& bytes) {
    const std::int64_t t = now();
    const std::int64_t busyUs = std::max<std::int64_t>(0, hostTxFreeUs_ - t);
    const std::int64_t queued = (busyUs * baud_) / 10'000'000;
    const std::int64_t free = std::max<std::int64_t>(0, outputLimit_ - queued);
    const std::string refused = "Write data error [requested: " + std::to_string(bytes.size()) +
                                ", free: " + std::to_string(free) + "]";
    if (static_cast<std::int64_t>(bytes.size()) > free)
        throw SerialError(refused, PortFault::OutputFull);
    const int failAfter = modem_.options().faults.writeErrorAfter;
    if (failAfter >= 0 && hostWrites_ >= failAfter)
        throw SerialError(refused, PortFault::Write, 5, "Input/output error");
    ++hostWrites_;
    const std::int64_t start = std::max(t, hostTxFreeUs_);
    // Each command line reaches the modem when its CR has crossed the line.
    std::size_t from = 0;
    while (from < bytes.size()) {
        std::size_t to = bytes.find('\r', from);
        to = to == std::string::npos ? bytes.size() : to + 1;
        const std::int64_t doneUs = start + lineTimeUs(static_cast<std::int64_t>(to), baud_);
        const auto id = schedule(doneUs, [this, piece = bytes.substr(from, to - from), doneUs] {
            modem_.receive(piece, doneUs);
            pumpModem();
        });
        deliveries_.insert(id);
        from = to;
    }
    hostTxFreeUs_ = start + lineTimeUs(static_cast<std::int64_t>(bytes.size()), baud_);
}

void SimCable::cancelTransmission() {
    for (const auto id : deliveries_) {
        clock_.stopTimer(id);
        timers_.erase(id);
    }
    deliveries_.clear();
    hostTxFreeUs_ = now();
}

void SimCable::collectArrived() {
    const std::int64_t t = now();
    while (!inFlight_.empty() && inFlight_.front().first <= t) {
        if (owner_ != nullptr && static_cast<int>(received_.size()) < inputLimit_)
            received_ += inFlight_.front().second;
        inFlight_.pop_front();
    }
}

std::string SimCable::takeReceived() {
    collectArrived();
    return std::exchange(received_, {});
}

void SimCable::dropReceived() {
    collectArrived();
    received_.clear();
}

void SimCable::pumpModem() {
    if (modem_.takeHangUp()) {
        // Not from inside the call that made the modem drop the line: the port is pulled from
        // the clock, as a driver reports it.
        schedule(now(), [this] {
            vanish();
            if (backAfterUs_ >= 0)
                schedule(now() + backAfterUs_, [this] { present_ = true; });
        });
    }
    for (const OutputChunk& chunk : modem_.takeOutput()) {
        for (std::size_t i = 0; i < chunk.bytes.size(); ++i)
            inFlight_.emplace_back(chunk.byteDoneUs(i), chunk.bytes[i]);
        schedule(chunk.endUs(), [this] { notifyArrival(); });
    }
    if (modemTimer_ != 0) {
        clock_.stopTimer(modemTimer_);
        timers_.erase(modemTimer_);
        modemTimer_ = 0;
    }
    if (const auto due = modem_.nextDueUs()) {
        modemTimer_ = schedule(std::max(*due, now()), [this] {
            modemTimer_ = 0;
            modem_.advanceTo(now());
            pumpModem();
        });
    }
}

void SimCable::notifyArrival() {
    collectArrived();
    if (owner_ == nullptr || received_.empty())
        return;
    if (inHandler_) {
        notifyHeld_ = true;
        return;
    }
    do {
        notifyHeld_ = false;
        if (owner_ == nullptr || !owner_->handler_)
            return;
        const std::function<void()> handler = owner_->handler_;
        inHandler_ = true;
        handler();
        inHandler_ = false;
        collectArrived();
    } while (notifyHeld_ && !received_.empty());
}

SimSerialPort::~SimSerialPort() {
    close();
}

void SimSerialPort::open(int portNumber, const LineSettings& settings) {
    close();
    const std::string failure = "Can't open device COM" + std::to_string(portNumber);
    if (portNumber != cable_.portNumber() || !cable_.present())
        throw SerialError(failure, PortFault::NotFound);
    if (cable_.owner_ != nullptr && cable_.owner_ != this)
        throw SerialError(failure, PortFault::Open);
    settings_ = settings;
    open_ = true;
    cable_.attach(this, settings.baudRate);
}

void SimSerialPort::close() {
    if (!open_)
        return;
    open_ = false;
    gone_ = false;
    cable_.detach(this);
}

void SimSerialPort::purgeInput() {
    if (open_)
        cable_.dropReceived();
}

void SimSerialPort::purgeOutput() {
    if (open_)
        cable_.cancelTransmission();
}

void SimSerialPort::write(const std::string& bytes) {
    if (gone_)
        throw SerialError("Write data error", PortFault::Write, kGoneCode, kGoneText);
    if (!open_) {
        throw SerialError("Write data error [requested: " + std::to_string(bytes.size()) +
                          ", free: 0]");
    }
    if (!bytes.empty())
        cable_.transmit(bytes);
}

std::string SimSerialPort::readAll() {
    // A gone device cannot even tell what waits in its queue.
    if (gone_)
        throw SerialError("Read data error", PortFault::Statistics, kGoneCode, kGoneText);
    return open_ ? cable_.takeReceived() : std::string();
}

void SimSerialPort::setReceivedHandler(std::function<void()> handler) {
    handler_ = std::move(handler);
}

}  // namespace zelar::sim
