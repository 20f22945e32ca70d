#pragma once

#include <functional>
#include <stdexcept>
#include <string>
#include <utility>

namespace zelar {

// Line settings of one serial port object; always 8 data bits, no parity, 1 stop bit,
// no flow control.
struct LineSettings {
    int baudRate = 115200;
    bool dtr = true;  // asserted on the main link, held off on the boot loader link
    bool rts = true;
    int inputQueue = 4096;
    int outputQueue = 2048;
};

// What failed, for a port object that words its errors its own way (the boot loader link).
// `Stopped` is no fault of the port: the program was told to stop (Ctrl+C on the command line).
enum class PortFault { Other, NotFound, Open, Write, OutputFull, Read, Statistics, Clear, Stopped };

// An error of the port object; what() is the text the user sees. `code` and `detail` are the
// system's error number and text where the port knows them.
class SerialError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
    SerialError(const std::string& text, PortFault fault, int code = 0, std::string detail = {})
        : std::runtime_error(text), fault(fault), code(code), detail(std::move(detail)) {}

    PortFault fault = PortFault::Other;
    int code = 0;
    std::string detail;
};

// A serial port addressed by its COM number. All calls run on the UI thread.
class SerialPort {
  public:
    virtual ~SerialPort() = default;

    // Closes first when open. Throws SerialError ("Can't open device COM%d") on failure.
    virtual void open(int portNumber, const LineSettings& settings) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;

    virtual void purgeInput() = 0;
    virtual void purgeOutput() = 0;
    // Queues the bytes for sending and returns; throws SerialError
    // ("Write data error [requested: %d, free: %d]") when the output queue cannot take them.
    virtual void write(const std::string& bytes) = 0;
    // Everything received and not yet read, possibly nothing; never waits.
    // Throws SerialError ("Read data error") when the driver fails.
    virtual std::string readAll() = 0;

    // Called on the UI thread when characters arrive; an empty function detaches it.
    // The handler runs to completion before the next notification is delivered.
    virtual void setReceivedHandler(std::function<void()> handler) = 0;
};

}  // namespace zelar
