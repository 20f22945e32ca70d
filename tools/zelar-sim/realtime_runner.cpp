#include "realtime_runner.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <ctime>
#include <string>

#include "sim/state_file.h"

namespace zelar::simtool {

namespace {

// Saves are spaced out so that a dictionary or firmware transfer does not rewrite the file for
// every command; the state is saved at exit in any case.
constexpr std::int64_t kSaveSpacingUs = 1'000'000;
// The program may change its line speed without sending anything; look this often.
constexpr int kSpeedCheckMs = 20;
// Bytes the program does not read pile up in the pty; beyond this the oldest are dropped, as
// a line would lose them.
constexpr std::size_t kMaxPending = 64 * 1024;

}  // namespace

RealtimeRunner::RealtimeRunner(sim::SimModem& modem, PseudoTerminal& pty,
                               std::optional<std::filesystem::path> stateFile)
    : modem_(modem),
      pty_(pty),
      stateFile_(std::move(stateFile)),
      savedRevision_(modem.revision()) {}

std::int64_t RealtimeRunner::monotonicUs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<std::int64_t>(ts.tv_sec) * 1'000'000 + ts.tv_nsec / 1000;
}

void RealtimeRunner::followLineSpeed(std::int64_t nowUs) {
    const int baud = pty_.baudRate();
    if (baud != 0 && baud != lineBaud_) {
        lineBaud_ = baud;
        modem_.setLine(true, baud, nowUs);
    }
}

void RealtimeRunner::queueOutput() {
    for (const sim::OutputChunk& chunk : modem_.takeOutput()) {
        for (std::size_t i = 0; i < chunk.bytes.size(); ++i)
            pending_.emplace_back(chunk.byteDoneUs(i), chunk.bytes[i]);
    }
    while (pending_.size() > kMaxPending)
        pending_.pop_front();
}

void RealtimeRunner::writeDue(std::int64_t nowUs) {
    std::string due;
    for (const auto& [atUs, byte] : pending_) {
        if (atUs > nowUs)
            break;
        due += byte;
    }
    if (due.empty())
        return;
    const ssize_t written = ::write(pty_.masterFd(), due.data(), due.size());
    if (written > 0)
        pending_.erase(pending_.begin(), pending_.begin() + written);
}

void RealtimeRunner::readInput() {
    std::array<char, 4096> buffer{};
    while (true) {
        const ssize_t got = ::read(pty_.masterFd(), buffer.data(), buffer.size());
        if (got <= 0)
            return;
        const std::int64_t nowUs = monotonicUs();
        followLineSpeed(nowUs);
        modem_.receive(std::string_view(buffer.data(), static_cast<std::size_t>(got)), nowUs);
    }
}

int RealtimeRunner::pollTimeoutMs(std::int64_t nowUs) const {
    std::int64_t waitUs = kSpeedCheckMs * 1000;
    if (!pending_.empty())
        waitUs = std::min(waitUs, pending_.front().first - nowUs);
    if (const auto due = modem_.nextDueUs())
        waitUs = std::min(waitUs, *due - nowUs);
    if (stateFile_ && modem_.revision() != savedRevision_)
        waitUs = std::min(waitUs, lastSaveUs_ + kSaveSpacingUs - nowUs);
    // Round up: waking early would only spin.
    return static_cast<int>(std::max<std::int64_t>(0, (waitUs + 999) / 1000));
}

void RealtimeRunner::saveIfChanged() {
    if (modem_.revision() != savedRevision_)
        save();
}

void RealtimeRunner::save() {
    if (!stateFile_)
        return;
    const std::string error = sim::saveState(*stateFile_, modem_.store());
    if (!error.empty())
        std::fprintf(stderr, "zelar-sim: %s\n", error.c_str());
    savedRevision_ = modem_.revision();
    lastSaveUs_ = monotonicUs();
}

RealtimeRunner::End RealtimeRunner::run(int controlFd) {
    while (true) {
        std::int64_t nowUs = monotonicUs();
        followLineSpeed(nowUs);
        modem_.advanceTo(nowUs);
        if (modem_.takeHangUp())  // the boot loader's line went dead on its own
            return End::HungUp;
        queueOutput();
        writeDue(nowUs);
        if (nowUs - lastSaveUs_ >= kSaveSpacingUs)
            saveIfChanged();

        std::array<pollfd, 2> fds{{{pty_.masterFd(), POLLIN, 0}, {controlFd, POLLIN, 0}}};
        const int ready = ::poll(fds.data(), fds.size(), pollTimeoutMs(nowUs));
        if (ready < 0 && errno != EINTR) {
            std::perror("zelar-sim: poll");
            return End::Stopped;
        }
        if (ready <= 0)
            continue;
        if ((fds[1].revents & POLLIN) != 0) {
            char command = 0;
            if (::read(controlFd, &command, 1) == 1) {
                if (command == 'T')
                    return End::Stopped;
                if (command == 'P')
                    modem_.powerCycle(monotonicUs());
            }
        }
        if ((fds[0].revents & POLLIN) != 0) {
            readInput();
            if (modem_.takeHangUp())
                return End::HungUp;
        } else if ((fds[0].revents & (POLLERR | POLLNVAL)) != 0) {
            std::fprintf(stderr, "zelar-sim: the pseudo-terminal failed\n");
            return End::Stopped;
        }
    }
}

}  // namespace zelar::simtool
