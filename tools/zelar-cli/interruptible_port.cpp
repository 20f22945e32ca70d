#include "interruptible_port.h"

#include "interrupt.h"

namespace zelar::cli {

void InterruptiblePort::failWhenInterrupted() {
    if (!interrupted())
        return;
    if (port_.isOpen())
        port_.close();
    throw SerialError(kInterruptedText);
}

void InterruptiblePort::open(int portNumber, const LineSettings& settings) {
    failWhenInterrupted();
    port_.open(portNumber, settings);
}

void InterruptiblePort::write(const std::string& bytes) {
    failWhenInterrupted();
    port_.write(bytes);
}

std::string InterruptiblePort::readAll() {
    failWhenInterrupted();
    return port_.readAll();
}

}  // namespace zelar::cli
