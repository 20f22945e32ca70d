#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <set>
#include <string>
#include <utility>

#include "platform/serial_port.h"
#include "sim/sim_modem.h"
#include "sim/virtual_clock.h"

namespace zelar::sim {

class SimSerialPort;

// The modem's COM port on the virtual clock: the cable and both ends' line drivers. Bytes take
// their line time in each direction at the baud rate of the port that is open, the modem's
// timed work runs on the clock, and bytes that arrive while no port is open are lost, as on a
// real line. Several SimSerialPort objects may share it (the main link and the boot loader
// link), one open at a time. The cable must outlive its ports.
class SimCable {
  public:
    SimCable(VirtualClock& clock, SimModem& modem, int portNumber = 1);
    ~SimCable();
    SimCable(const SimCable&) = delete;
    SimCable& operator=(const SimCable&) = delete;

    int portNumber() const { return portNumber_; }
    // An absent port cannot be opened, as when the adapter is unplugged.
    void setPresent(bool present) { present_ = present; }
    bool present() const { return present_; }
    SimModem& modem() { return modem_; }
    // Writes the host's ports have made on this cable (for FaultPlan::writeErrorAfter).
    int hostWrites() const { return hostWrites_; }
    VirtualClock& clock() { return clock_; }

    // Switches the modem off and on (for firmware that has no restart command).
    void powerCycle();
    // The adapter is pulled while a port is open: the port stays open but every read and write
    // fails as a gone device's do (PortFault::Statistics on reads), its driver reports this
    // once through the received handler, and the port cannot be opened again until
    // setPresent(true).
    void vanish();
    // When the modem drops its line (FaultPlan::hangUpAfter, the boot loader's vanish fault),
    // the adapter is pulled, and plugged in again this long after; below 0 never.
    void setBackAfterUs(std::int64_t us) { backAfterUs_ = us; }

  private:
    friend class SimSerialPort;

    void attach(SimSerialPort* port, int baud);
    void detach(SimSerialPort* port);
    // Starts sending host bytes; throws SerialError when the output queue is full, or when the
    // planned write error has struck.
    void transmit(const std::string& bytes);
    void cancelTransmission();
    std::string takeReceived();
    void dropReceived();

    // Moves bytes whose stop bit has passed into the open port's input queue (or loses them
    // when no port is open).
    void collectArrived();
    // Takes the modem's new output and re-arms its timer.
    void pumpModem();
    void notifyArrival();
    std::int64_t now() const { return clock_.nowUs(); }
    EventPump::TimerId schedule(std::int64_t dueUs, std::function<void()> action);

    VirtualClock& clock_;
    SimModem& modem_;
    int portNumber_;
    bool present_ = true;
    std::int64_t backAfterUs_ = 1'000'000;

    SimSerialPort* owner_ = nullptr;
    int baud_ = kFirmwareBaud;
    int inputLimit_ = 4096;
    int outputLimit_ = 2048;

    std::deque<std::pair<std::int64_t, char>> inFlight_;  // toward the host, with arrival time
    std::string received_;
    std::int64_t hostTxFreeUs_ = 0;
    int hostWrites_ = 0;  // for FaultPlan::writeErrorAfter
    std::set<EventPump::TimerId> deliveries_;
    std::set<EventPump::TimerId> timers_;
    EventPump::TimerId modemTimer_ = 0;
    bool inHandler_ = false;
    bool notifyHeld_ = false;
};

// A SerialPort on a SimCable. Reads return only bytes that have fully arrived; the received
// handler runs on the clock once a burst of bytes has arrived, one call at a time: a burst that
// arrives while the handler runs is announced again after it returns, but only if bytes are
// still waiting then.
class SimSerialPort : public SerialPort {
  public:
    explicit SimSerialPort(SimCable& cable) : cable_(cable) {}
    ~SimSerialPort() override;

    // Throws SerialError("Can't open device COM<n>") for another number, an absent port or a
    // port already held by another object.
    void open(int portNumber, const LineSettings& settings) override;
    void close() override;
    bool isOpen() const override { return open_; }
    void purgeInput() override;
    void purgeOutput() override;
    void write(const std::string& bytes) override;
    std::string readAll() override;
    void setReceivedHandler(std::function<void()> handler) override;

    const LineSettings& settings() const { return settings_; }

  private:
    friend class SimCable;

    SimCable& cable_;
    bool open_ = false;
    bool gone_ = false;  // its device vanished while open
    LineSettings settings_;
    std::function<void()> handler_;
};

}  // namespace zelar::sim
