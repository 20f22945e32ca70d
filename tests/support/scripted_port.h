#pragma once

#include <string>
#include <vector>

#include "platform/serial_port.h"
#include "sim/virtual_clock.h"

namespace zelar::test {

// A port whose incoming bytes are scripted by time on the virtual clock; records what was sent.
class ScriptedPort : public SerialPort {
  public:
    explicit ScriptedPort(sim::VirtualClock& clock) : clock_(clock) {}

    void open(int portNumber, const LineSettings& settings) override {
        if (failOpen)
            throw SerialError("Can't open device COM" + std::to_string(portNumber));
        open_ = true;
        openedNumber = portNumber;
        openedSettings = settings;
        ++openCount;
    }
    void close() override { open_ = false; }
    bool isOpen() const override { return open_; }
    void purgeInput() override {
        if (failPurge)
            throw SerialError("Purge failed", PortFault::Clear, 22, "Invalid argument");
        received_.clear();
    }
    void purgeOutput() override {}
    void write(const std::string& bytes) override { sent.push_back(bytes); }
    std::string readAll() override {
        if (failRead)
            throw SerialError("Read data error");
        std::string out;
        out.swap(received_);
        return out;
    }
    void setReceivedHandler(std::function<void()> handler) override {
        handler_ = std::move(handler);
    }

    // The bytes become readable `afterMs` from now, and are announced to the received handler
    // as a port object does: never re-entered, and again after it returns if bytes still wait.
    void arrive(int afterMs, const std::string& bytes) {
        clock_.startTimer(afterMs, [this, bytes] {
            received_ += bytes;
            notify();
        });
    }

    bool failOpen = false;
    bool failRead = false;
    bool failPurge = false;
    int openedNumber = 0;
    int openCount = 0;
    LineSettings openedSettings;
    std::vector<std::string> sent;

  private:
    void notify() {
        if (!open_ || !handler_)
            return;
        if (inHandler_) {
            held_ = true;
            return;
        }
        do {
            held_ = false;
            inHandler_ = true;
            const auto handler = handler_;
            handler();
            inHandler_ = false;
        } while (held_ && open_ && handler_ && !received_.empty());
    }

    sim::VirtualClock& clock_;
    bool open_ = false;
    std::string received_;
    std::function<void()> handler_;
    bool inHandler_ = false;
    bool held_ = false;
};

}  // namespace zelar::test
