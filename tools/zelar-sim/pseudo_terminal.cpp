#include "pseudo_terminal.h"

#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <utility>

namespace zelar::simtool {

PseudoTerminal::PseudoTerminal() {
    termios raw{};
    cfmakeraw(&raw);
    cfsetispeed(&raw, B115200);
    cfsetospeed(&raw, B115200);
    std::array<char, 256> name{};
    if (openpty(&master_, &slave_, name.data(), &raw, nullptr) != 0)
        throw std::runtime_error(std::string("cannot open a pseudo-terminal: ") +
                                 std::strerror(errno));
    path_ = name.data();
    const int flags = fcntl(master_, F_GETFL);
    fcntl(master_, F_SETFL, flags | O_NONBLOCK);
    fcntl(master_, F_SETFD, FD_CLOEXEC);
    fcntl(slave_, F_SETFD, FD_CLOEXEC);
}

PseudoTerminal::~PseudoTerminal() {
    if (slave_ >= 0)
        ::close(slave_);
    if (master_ >= 0)
        ::close(master_);
}

int PseudoTerminal::baudRate() const {
    termios t{};
    if (tcgetattr(master_, &t) != 0)
        return 0;
    static constexpr std::array<std::pair<speed_t, int>, 12> kRates{{
        {B1200, 1200},
        {B2400, 2400},
        {B4800, 4800},
        {B9600, 9600},
        {B19200, 19200},
        {B38400, 38400},
        {B57600, 57600},
        {B115200, 115200},
        {B230400, 230400},
        {B460800, 460800},
        {B921600, 921600},
        {B1000000, 1000000},
    }};
    const speed_t speed = cfgetospeed(&t);
    for (const auto& [code, rate] : kRates) {
        if (code == speed)
            return rate;
    }
    return 0;
}

}  // namespace zelar::simtool
