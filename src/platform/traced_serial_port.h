#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <string_view>

#include "platform/serial_port.h"

namespace zelar {

// The local time with milliseconds, "2026-12-07 10:45:01.123", for trace lines.
std::string traceTimestamp();

// Writes one chunk of link traffic as trace lines: 16 bytes a line, the time, the link's name,
// '>' for sent or '<' for received, the bytes in hexadecimal and then as text ('.' for bytes
// that are not printable ASCII).
void writeTraffic(std::ostream& out, const std::string& stamp, std::string_view link,
                  char direction, std::string_view bytes);

// A serial port that passes everything to another one and writes each byte sent and received,
// each open and close and each port error to a trace, for diagnosing a modem in the field.
// Every line is flushed as it is written, so that the trace survives a program that is killed.
class TracedSerialPort : public SerialPort {
  public:
    using Clock = std::function<std::string()>;

    TracedSerialPort(SerialPort& port, std::ostream& trace, std::string link,
                     Clock clock = traceTimestamp);

    void open(int portNumber, const LineSettings& settings) override;
    void close() override;
    bool isOpen() const override { return port_.isOpen(); }
    void purgeInput() override;
    void purgeOutput() override;
    void write(const std::string& bytes) override;
    std::string readAll() override;
    void setReceivedHandler(std::function<void()> handler) override {
        port_.setReceivedHandler(std::move(handler));
    }

  private:
    void note(const std::string& text);
    // Runs a port call; a port error is traced and passed on unchanged.
    template <class Call>
    auto traced(Call call) -> decltype(call());

    SerialPort& port_;
    std::ostream& trace_;
    std::string link_;
    Clock clock_;
};

}  // namespace zelar
