#pragma once

#include <functional>
#include <string>

#include "platform/event_pump.h"
#include "platform/serial_port.h"

namespace zelar {

// The main window's one connection to the modem: opened for one operation, closed at its end.
// Replies are collected by polls of 100 ms that keep the windows alive.
class TModemLink {
  public:
    static constexpr int kPollMs = 100;
    static constexpr int kDefaultPolls = 50;

    TModemLink(SerialPort& port, EventPump& pump);
    ~TModemLink();
    TModemLink(const TModemLink&) = delete;
    TModemLink& operator=(const TModemLink&) = delete;

    // Closes, sets the number and opens at 115200 8N1 with DTR and RTS asserted.
    // Throws SerialError ("Invalid port number (COM%d)" for 0 and below).
    void Open(int portNumber);
    // Never throws: callers close at the very end of an operation and ignore errors.
    void Close();
    bool isOpen() const;
    int portNumber() const { return portNumber_; }

    void PurgeInput();
    void PurgeOutput();
    // Queues the whole line; an empty line or a closed port sends nothing.
    void Send(const std::string& line);
    // Everything received and not yet read; empty on a closed port. Never waits.
    std::string ReadAvailable();
    void PumpDelay(int ms);
    // The fixed wait after a command, then what arrived. With the fast exchange on, it ends as
    // soon as `complete` holds for what arrived; `ms` stays the upper bound.
    std::string WaitReply(int ms, const ReplyComplete& complete);
    // Polls until at least `expectedLength` characters have arrived or `polls` polls passed.
    std::string CollectReply(int polls, std::size_t expectedLength);
    // Polls until one poll's chunk contains "OK"; chunks are not joined.
    bool WaitForOK(int polls);

    // The fast exchange: waits end once a complete reply is in (see WaitReply). Off, every
    // wait takes its full fixed time.
    void setFast(bool on) { fast_ = on; }
    bool fast() const { return fast_; }

    // Shown while the port is being opened (the hourglass cursor).
    std::function<void(bool busy)> onBusy;

    // Whether an operation holds the link. Waits process events, so a second handler can be
    // reached while one runs; it must find the link taken and leave it alone.
    bool busy() const { return busy_; }

    // Holds the link for one operation, if no other operation holds it.
    class Lease {
      public:
        explicit Lease(TModemLink& link) : link_(link.busy_ ? nullptr : &link) {
            if (link_ != nullptr)
                link_->busy_ = true;
        }
        ~Lease() {
            if (link_ != nullptr)
                link_->busy_ = false;
        }
        Lease(const Lease&) = delete;
        Lease& operator=(const Lease&) = delete;
        bool held() const { return link_ != nullptr; }

      private:
        TModemLink* link_;
    };

  private:
    SerialPort& port_;
    EventPump& pump_;
    int portNumber_ = 0;
    bool busy_ = false;
    bool fast_ = false;
};

}  // namespace zelar
