#include "sim/sim_modem.h"

#include <algorithm>
#include <utility>

#include "sim/sim_hex.h"

namespace zelar::sim {

namespace {

// Longest command line the modem buffers: a 256-byte page buffer write is 526 characters.
constexpr std::size_t kMaxLine = 1024;
constexpr int kLastProgramPage = static_cast<int>(kProgramPages) - 1;

bool has(const std::vector<ReplyFault>& faults, ReplyFault fault) {
    return std::find(faults.begin(), faults.end(), fault) != faults.end();
}

}  // namespace

std::string printable(std::string_view bytes) {
    std::string text;
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (c == '\r')
            text += "\\r";
        else if (c == '\n')
            text += "\\n";
        else if (b < 0x20 || b >= 0x7F)
            text += "\\x" + hexfield::byteText(b);
        else
            text += c;
    }
    return text;
}

SimModem::SimModem(ModemStore store, ModemOptions options)
    : store_(std::move(store)), options_(std::move(options)) {}

bool SimModem::hears(int speakingBaud) const {
    return lineOpen_ && (!options_.strictBaud || lineBaud_ == speakingBaud);
}

void SimModem::setLine(bool open, int baud, std::int64_t nowUs) {
    advanceTo(nowUs);
    if (baud != lineBaud_ || open != lineOpen_) {
        // A speed change garbles whatever was half received.
        pendingLine_.clear();
        lineOverflow_ = false;
        lineSinceUs_ = nowUs;
    }
    lineOpen_ = open;
    lineBaud_ = baud;
    advanceTo(nowUs);
}

void SimModem::receive(std::string_view bytes, std::int64_t nowUs) {
    advanceTo(nowUs);
    for (char c : bytes) {
        if (powerIsOff(nowUs)) {
            pendingLine_.clear();
            lineOverflow_ = false;
            continue;
        }
        switch (mode_) {
            case Mode::Firmware:
                if (!hears(kFirmwareBaud))
                    break;
                if (c == '\r') {
                    const std::string line = std::move(pendingLine_);
                    pendingLine_.clear();
                    const bool overflow = std::exchange(lineOverflow_, false);
                    onCommandLine(overflow ? std::string(kMaxLine + 1, '?') : line, nowUs);
                    if (overflow || !line.empty())
                        countForPowerCut(nowUs);
                } else if (c != '\n') {
                    if (pendingLine_.size() < kMaxLine)
                        pendingLine_ += c;
                    else
                        lineOverflow_ = true;
                }
                break;
            case Mode::Restarting:
                break;
            case Mode::BootLoader:
                if (hears(kBootLoaderBaud))
                    onBootByte(static_cast<std::uint8_t>(c), nowUs);
                break;
        }
    }
}

void SimModem::onCommandLine(const std::string& line, std::int64_t nowUs) {
    if (line.empty())
        return;
    ++commandsSeen_;
    log("> " + printable(line.size() > kMaxLine ? "(line too long)" : line));
    if (lineDropped())
        return;

    const FaultPlan& plan = options_.faults;
    if (plan.stopAfterCommands >= 0 && commandsSeen_ > plan.stopAfterCommands) {
        log("  (no answer: stopped after " + std::to_string(plan.stopAfterCommands) + ")");
        return;
    }
    int number = -1;
    if (line.size() >= 6 && line.compare(0, 4, "AT+V") == 0)
        number = static_cast<int>(hexfield::decimal(line.substr(4, 2)).value_or(0));
    const std::vector<ReplyFault> faults = faultTracker_.next(plan, number);
    if (has(faults, ReplyFault::Silent)) {
        log("  (silent)");
        return;
    }

    if (number == 25) {
        std::uint8_t& level = options_.diagnostics.signalLevel;
        level = signalMover_.next(options_.signal, level);
    }
    CommandOutcome outcome = runCommand(store_, options_.diagnostics, line);
    if (outcome.changed)
        ++revision_;
    if (has(faults, ReplyFault::Alter) && outcome.changed && (number == 16 || number == 18))
        alterFirstWritten(line, number == 16 ? store_.settings.data() : store_.pageBuffer.data(),
                          number == 16 ? store_.settings.size() : store_.pageBuffer.size());
    std::string reply = std::move(outcome.reply);
    if (reply.empty())
        return;

    garble(reply, faults, outcome.payloadSize);
    std::int64_t readyUs =
        nowUs + (outcome.slow ? options_.timing.flashUs : options_.timing.commandUs);
    if (has(faults, ReplyFault::Late))
        readyUs += plan.lateUs;
    if (has(faults, ReplyFault::LateWithin))
        readyUs += plan.lateWithinUs;

    std::string note;
    for (ReplyFault f : faults)
        note += " [" + faultName(f) + "]";
    log("< " + printable(reply) + note);
    readyUs = sendReply(reply, faults, readyUs);

    if (outcome.restart)
        beginRestart(readyUs);
}

void SimModem::alterFirstWritten(const std::string& line, std::uint8_t* memory, std::size_t size) {
    // The write was accepted, so its address field is well formed and inside the memory.
    const auto address = hexfield::number(std::string_view(line).substr(6, 4));
    if (address && *address < size)
        memory[*address] ^= 0x01;
}

void SimModem::garble(std::string& reply, const std::vector<ReplyFault>& faults,
                      std::size_t payloadSize) const {
    const FaultPlan& plan = options_.faults;
    if (has(faults, ReplyFault::NoOk) && reply.size() >= 4 &&
        reply.compare(reply.size() - 4, 4, "OK\r\n") == 0) {
        reply.resize(reply.size() - 4);
    }
    if (has(faults, ReplyFault::Corrupt)) {
        const std::size_t count =
            std::min(payloadSize, static_cast<std::size_t>(std::max(0, plan.corruptCount)));
        std::fill_n(reply.begin() + 2, count, plan.corruptWith);
    }
}

std::int64_t SimModem::sendReply(const std::string& reply, const std::vector<ReplyFault>& faults,
                                 std::int64_t readyUs) {
    const FaultPlan& plan = options_.faults;
    if (has(faults, ReplyFault::StrayBefore))
        readyUs = send(plan.strayBytes, readyUs);
    if (has(faults, ReplyFault::Split) && plan.splitPieces > 1 && reply.size() > 1) {
        const std::size_t pieces = std::min<std::size_t>(plan.splitPieces, reply.size());
        std::size_t from = 0;
        for (std::size_t k = 0; k < pieces; ++k) {
            const std::size_t to = reply.size() * (k + 1) / pieces;
            readyUs = send(reply.substr(from, to - from), readyUs) + plan.splitGapUs;
            from = to;
        }
        readyUs -= plan.splitGapUs;
    } else if (has(faults, ReplyFault::Pieces) && plan.pieceBytes > 0) {
        const auto size = static_cast<std::size_t>(plan.pieceBytes);
        for (std::size_t from = 0; from < reply.size(); from += size)
            readyUs = send(reply.substr(from, size), from == 0 ? readyUs : readyUs + pieceGapUs());
    } else {
        readyUs = send(reply, readyUs);
    }
    if (has(faults, ReplyFault::StrayAfter))
        readyUs = send(plan.strayBytes, readyUs);
    return readyUs;
}

bool SimModem::lineDropped() {
    const int limit = options_.faults.hangUpAfter;
    if (hungUp_ || limit < 0 || ++unitsSeen_ <= limit)
        return false;
    log("  (hang-up after " + std::to_string(limit) + ")");
    hungUp_ = true;
    hangUpDue_ = true;
    output_.clear();
    return true;
}

void SimModem::countForPowerCut(std::int64_t nowUs) {
    const FaultPlan& plan = options_.faults;
    if (plan.powerCutAfter < 1 || powerOnUs_ >= 0 || ++linesForPowerCut_ < plan.powerCutAfter)
        return;
    // The power goes once the command's reply is out; the controller's RAM goes with it.
    powerOffUs_ = std::max(nowUs, txFreeUs_);
    powerOnUs_ = powerOffUs_ + static_cast<std::int64_t>(plan.powerCutMs) * 1000;
    store_.pageBuffer.fill(0xFF);
    ++revision_;
    log("  (power cut for " + std::to_string(plan.powerCutMs) + " ms after " +
        std::to_string(plan.powerCutAfter) + " commands; page buffer lost)");
}

void SimModem::beginRestart(std::int64_t fromUs) {
    log("  restarting into the boot loader");
    mode_ = Mode::Restarting;
    announceDueUs_ = fromUs + options_.timing.restartUs;
    pendingLine_.clear();
    lineOverflow_ = false;
    blocks_.reset();
}

void SimModem::powerCycle(std::int64_t nowUs) {
    advanceTo(nowUs);
    log("  power cycle");
    beginRestart(nowUs);
}

void SimModem::startFirmware(std::int64_t nowUs) {
    const std::string version = findVersionMark(store_.program);
    if (!version.empty() && version != store_.firmwareVersion) {
        store_.firmwareVersion = version;
        ++revision_;
    }
    mode_ = Mode::Firmware;
    commandsSeen_ = 0;
    faultTracker_.reset();
    txFreeUs_ = std::max(txFreeUs_, nowUs);
    log("  firmware " + store_.firmwareVersion + " running");
}

void SimModem::onBootByte(std::uint8_t byte, std::int64_t nowUs) {
    bootIdleSinceUs_ = nowUs;
    const auto block = blocks_.feed(byte, store_.program);
    if (!block || lineDropped())
        return;
    const FaultPlan& plan = options_.faults;
    std::string ack(1, block->accepted ? kBlockAccepted : kBlockRejected);
    if (block->accepted)
        ++revision_;
    if (hasBootFault(plan, BootFault::DoubleAck, block->page))
        ack += ack;
    if (hasBootFault(plan, BootFault::NoAck, block->page))
        ack.clear();
    log("  block page " + std::to_string(block->page) + (block->accepted ? " stored" : " refused") +
        ", answered \"" + printable(ack) + "\"");
    std::int64_t doneUs = nowUs + options_.timing.blockUs;
    if (!ack.empty())
        doneUs = send(ack, doneUs);
    bootIdleSinceUs_ = doneUs;
    if (block->accepted && block->page == kLastProgramPage)
        startFirmware(doneUs);
}

void SimModem::announce(std::int64_t atUs) {
    const FaultPlan& plan = options_.faults;
    if (!hungUp_ && hasBootFault(plan, BootFault::Vanish, -1)) {
        log("  (hang-up: the boot loader's line goes dead)");
        hungUp_ = true;
        hangUpDue_ = true;
        bootIdleSinceUs_ = atUs;
        return;
    }
    const bool twice = hasBootFault(plan, BootFault::DoubleAnnounce, -1);
    std::string announcement(twice ? 2 : 1, kBootAnnounce);
    if (const BootFaultRule* noise = findBootFault(plan, BootFault::Noise)) {
        // With no gap the noise and the "!" go out as one burst and reach the host together.
        if (noise->leadUs > 0)
            atUs = send(plan.bootNoise, atUs) + noise->leadUs;
        else
            announcement = plan.bootNoise + announcement;
        log("  line noise \"" + printable(plan.bootNoise) + "\"");
    }
    bootIdleSinceUs_ = send(announcement, atUs);
    log("  boot loader announced");
}

std::optional<std::int64_t> SimModem::nextDueUs() const {
    switch (mode_) {
        case Mode::Firmware:
            return std::nullopt;
        case Mode::Restarting:
            // Waits for the host to listen at the boot loader's speed, but not for ever.
            if (hears(kBootLoaderBaud) || hasBootFault(options_.faults, BootFault::NoAnnounce, -1))
                return announceDueUs_;
            return announceDueUs_ + options_.timing.bootWindowUs;
        case Mode::BootLoader:
            return bootIdleSinceUs_ + options_.timing.bootWindowUs;
    }
    return std::nullopt;
}

void SimModem::advanceTo(std::int64_t nowUs) {
    while (true) {
        const auto due = nextDueUs();
        if (!due || *due > nowUs)
            return;
        if (mode_ == Mode::Restarting) {
            if (hasBootFault(options_.faults, BootFault::NoAnnounce, -1)) {
                log("  boot loader running, not announced");
                mode_ = Mode::BootLoader;
                bootIdleSinceUs_ = *due;
            } else if (hears(kBootLoaderBaud)) {
                mode_ = Mode::BootLoader;
                announce(std::max(*due, lineSinceUs_));
            } else {
                log("  nobody listened for the boot loader");
                startFirmware(*due);
            }
        } else {
            log("  boot loader idle");
            startFirmware(*due);
        }
    }
}

std::int64_t SimModem::send(std::string bytes, std::int64_t readyUs) {
    if (bytes.empty())
        return readyUs;
    OutputChunk chunk;
    chunk.startUs = std::max(readyUs, txFreeUs_);
    chunk.baud = lineBaud_;
    chunk.bytes = std::move(bytes);
    txFreeUs_ = chunk.endUs();
    output_.push_back(std::move(chunk));
    return txFreeUs_;
}

std::int64_t SimModem::pieceGapUs() {
    const FaultPlan& plan = options_.faults;
    const std::int64_t span = std::max<std::int64_t>(0, plan.pieceGapMaxUs - plan.pieceGapMinUs);
    return plan.pieceGapMinUs + static_cast<std::int64_t>(pieceRandom_() % (span + 1));
}

std::vector<OutputChunk> SimModem::takeOutput() {
    return std::exchange(output_, {});
}

void SimModem::log(const std::string& text) const {
    if (log_)
        log_(text);
}

}  // namespace zelar::sim
