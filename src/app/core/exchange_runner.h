#pragma once

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "app/core/app.h"

namespace zelar {

// Carries one multi-step operation on the link: it holds the link so that no other operation
// can take it, keeps the operation's button disabled, stops at the first failed step, shows a
// port error with the port's own text, moves the progress bar, and ends in order whatever
// path the operation takes: link closed, bar back at 0, button enabled.
class ExchangeRunner {
  public:
    ExchangeRunner(App& app, Button& button, ProgressBar& bar);
    // An operation without a progress bar that keeps its controls disabled.
    ExchangeRunner(App& app, std::initializer_list<Control*> controls);
    // For an operation started from a control other than a button (a list, say), or one that
    // shows its progress without a bar.
    explicit ExchangeRunner(App& app, Control& trigger, ProgressBar* bar = nullptr);
    ~ExchangeRunner();
    ExchangeRunner(const ExchangeRunner&) = delete;
    ExchangeRunner& operator=(const ExchangeRunner&) = delete;

    // False when another operation holds the link: the caller then does nothing at all.
    bool held() const { return lease_.held(); }

    void setProgress(int max, int step);
    void advance();
    // Puts the bar, where there is one, at `position` of its range.
    void setPosition(int position);
    // Closes the link, opens it on the current port and throws away one read. False when there
    // is no port or it cannot be opened; the caller shows its own message.
    bool open();
    // Closes the link now; the end closes it again, which does nothing.
    void close();

    // Runs a step unless an earlier one failed. A port error is shown with its own text and
    // fails the step. True when the step ran and succeeded.
    bool step(const std::function<bool()>& body);
    bool failed() const { return failed_; }
    void fail() { failed_ = true; }
    // True when a port error ended the operation: the user has its own text, and no message
    // of a lost link may follow it for the same failure.
    bool portFailed() const { return portFailed_; }
    // The operation's own failure message (caption "Модем", error icon), unless a port error
    // already told the user.
    void reportFailure(const std::string& text);

    // With "Проверять запись" on, each write below that the modem took is read back with
    // V17 and compared byte by byte with what was sent; a difference fails the step with its
    // own message, naming the field, and no other failure message follows it.

    // The usual write exchange: (purge input and output,) send, wait for "OK" with 50 polls.
    bool sendWaitOK(const std::string& line, bool purge);
    // Send, a fixed pause, one read: the input must contain "OK".
    bool sendPauseOK(const std::string& line, int pauseMs);

  private:
    // True when verification is off, the line writes no settings memory, or the modem holds
    // what it wrote.
    bool readBack(const std::string& line);

    App& app_;
    TModemLink::Lease lease_;
    std::vector<Control*> controls_;
    ProgressBar* bar_;
    bool failed_ = false;
    bool portFailed_ = false;
    bool verifyReported_ = false;
};

}  // namespace zelar
