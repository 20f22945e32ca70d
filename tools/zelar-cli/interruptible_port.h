#pragma once

#include <functional>
#include <string>

#include "platform/serial_port.h"
#include "write_log.h"

namespace zelar::cli {

// The text of the port error that an interrupted exchange ends with.
inline constexpr const char* kInterruptedText = "Прервано";

// A port that fails every open, write and read once the program is interrupted, closing the
// link: the operation under way then ends as on any port error, in order and with its message,
// and no later one starts. Once the output is lost (outputLost, or `outputFailed` holds) it
// fails the next open or write only: the reply to a write already sent is still read.
class InterruptiblePort : public SerialPort {
  public:
    explicit InterruptiblePort(SerialPort& port, std::function<bool()> outputFailed = nullptr)
        : port_(port), outputFailed_(std::move(outputFailed)) {}

    void open(int portNumber, const LineSettings& settings) override;
    void close() override { port_.close(); }
    bool isOpen() const override { return port_.isOpen(); }
    void purgeInput() override { port_.purgeInput(); }
    void purgeOutput() override { port_.purgeOutput(); }
    void write(const std::string& bytes) override;
    std::string readAll() override;
    void setReceivedHandler(std::function<void()> handler) override {
        port_.setReceivedHandler(std::move(handler));
    }
    // The settings writes made through this port.
    const WriteLog& writes() const { return writes_; }

  private:
    // Closes the link and throws kInterruptedText when the program was interrupted, or with
    // `atStepEnd` when its output is lost.
    void failWhenInterrupted(bool atStepEnd = false);

    SerialPort& port_;
    std::function<bool()> outputFailed_;
    WriteLog writes_;
};

}  // namespace zelar::cli
