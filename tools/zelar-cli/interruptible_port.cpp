#include "interruptible_port.h"

#include "interrupt.h"

namespace zelar::cli {

void InterruptiblePort::failWhenInterrupted(bool atStepEnd) {
    const bool lost = atStepEnd && (outputLost() || (outputFailed_ && outputFailed_()));
    if (!interrupted() && !lost)
        return;
    if (port_.isOpen())
        port_.close();
    throw SerialError(kInterruptedText, PortFault::Stopped);
}

void InterruptiblePort::open(int portNumber, const LineSettings& settings) {
    failWhenInterrupted(true);
    port_.open(portNumber, settings);
}

void InterruptiblePort::write(const std::string& bytes) {
    failWhenInterrupted(true);
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
