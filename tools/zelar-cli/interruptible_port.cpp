#include "interruptible_port.h"

#include "interrupt.h"

namespace zelar::cli {

void InterruptiblePort::failWhenInterrupted() {
    if (!interrupted())
        return;
    if (port_.isOpen())
        port_.close();
    throw SerialError(kInterruptedText, PortFault::Stopped);
}

void InterruptiblePort::open(int portNumber, const LineSettings& settings) {
    failWhenInterrupted();
    port_.open(portNumber, settings);
}

void InterruptiblePort::write(const std::string& bytes) {
    failWhenInterrupted();
    port_.write(bytes);
    writes_.sent(bytes);
}

std::string InterruptiblePort::readAll() {
    failWhenInterrupted();
    std::string bytes = port_.readAll();
    writes_.received(bytes);
    return bytes;
}

}  // namespace zelar::cli
