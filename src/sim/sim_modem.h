#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "sim/boot_loader.h"
#include "sim/command_processor.h"
#include "sim/fault_plan.h"
#include "sim/line_timing.h"
#include "sim/modem_store.h"
#include "sim/signal_plan.h"

namespace zelar::sim {

// How long the modem takes for its work, on top of the time bytes spend on the line.
struct ModemTiming {
    std::int64_t commandUs = 1'000;         // a memory command, from its CR to the reply
    std::int64_t flashUs = 15'000;          // a flash page store or load
    std::int64_t blockUs = 5'000;           // programming one boot loader block
    std::int64_t restartUs = 500'000;       // from the end of the restart reply to "!"
    std::int64_t bootWindowUs = 3'000'000;  // boot loader idle time before the firmware starts
};

struct ModemOptions {
    ModemTiming timing;
    Diagnostics diagnostics;
    SignalPlan signal;  // moves diagnostics.signalLevel at each fault command
    FaultPlan faults;
    // Hear and be heard only at the speed the modem speaks: 115200 baud for the firmware,
    // 57600 for the boot loader. Off, any speed works and sets the line timing.
    bool strictBaud = true;
};

// The modem's side of the serial line. It is driven by the caller's clock: every call carries
// the current time in microseconds, and everything the modem sends comes back as chunks that
// say when each byte has crossed the line. Calls must come in time order.
class SimModem {
  public:
    enum class Mode { Firmware, Restarting, BootLoader };

    explicit SimModem(ModemStore store, ModemOptions options = {});

    // The host's side of the line: whether its port is open and at what speed.
    void setLine(bool open, int baud, std::int64_t nowUs);
    // Bytes that have fully arrived by `nowUs`.
    void receive(std::string_view bytes, std::int64_t nowUs);
    // Carries out timed work due by `nowUs`: the boot loader's announcement and time-outs.
    void advanceTo(std::int64_t nowUs);
    // When advanceTo next has something to do.
    std::optional<std::int64_t> nextDueUs() const;
    // Switches the power off and on: the boot loader runs, as after the restart command.
    void powerCycle(std::int64_t nowUs);

    // What the modem has sent since the last call, in order.
    std::vector<OutputChunk> takeOutput();

    ModemStore& store() { return store_; }
    const ModemStore& store() const { return store_; }
    ModemOptions& options() { return options_; }
    Mode mode() const { return mode_; }
    // Rises with every change of memory, flash or program; lets a keeper save only when needed.
    std::uint64_t revision() const { return revision_; }
    int commandsSeen() const { return commandsSeen_; }
    // True once when FaultPlan::hangUpAfter has struck; the line's keeper then drops the line.
    bool takeHangUp() { return std::exchange(hangUpDue_, false); }

    // One line per command, reply and boot loader event, for a human to follow.
    void setLog(std::function<void(const std::string&)> log) { log_ = std::move(log); }

  private:
    bool hears(int speakingBaud) const;
    void onCommandLine(const std::string& line, std::int64_t nowUs);
    // The alter fault: the first byte a V16 or V18 line wrote into `memory` reads back changed.
    void alterFirstWritten(const std::string& line, std::uint8_t* memory, std::size_t size);
    // The reply as the planned faults leave it: without its "OK", or with garbled payload.
    void garble(std::string& reply, const std::vector<ReplyFault>& faults,
                std::size_t payloadSize) const;
    // Queues the reply (with stray bytes or in pieces, as planned); when its last byte is out.
    std::int64_t sendReply(const std::string& reply, const std::vector<ReplyFault>& faults,
                           std::int64_t readyUs);
    void onBootByte(std::uint8_t byte, std::int64_t nowUs);
    void beginRestart(std::int64_t fromUs);
    // The boot loader's "!" (or what its faults make of it), no earlier than `atUs`.
    void announce(std::int64_t atUs);
    void startFirmware(std::int64_t nowUs);
    // Counts a command line or block; true when the line has gone dead before it.
    bool lineDropped();
    // Queues bytes on the line no earlier than `readyUs`; returns when the last one is done.
    std::int64_t send(std::string bytes, std::int64_t readyUs);
    // The pause before the next piece of a reply in pieces.
    std::int64_t pieceGapUs();
    void log(const std::string& text) const;
    // Counts a command line for FaultPlan::powerCutAfter and cuts the power when it strikes.
    void countForPowerCut(std::int64_t nowUs);
    bool powerIsOff(std::int64_t nowUs) const { return nowUs >= powerOffUs_ && nowUs < powerOnUs_; }

    ModemStore store_;
    ModemOptions options_;
    FaultTracker faultTracker_;
    BlockReceiver blocks_;
    Mode mode_ = Mode::Firmware;

    bool lineOpen_ = true;
    int lineBaud_ = kFirmwareBaud;
    std::int64_t lineSinceUs_ = 0;  // when the line last changed
    std::int64_t txFreeUs_ = 0;

    std::string pendingLine_;
    bool lineOverflow_ = false;
    int commandsSeen_ = 0;
    // Command lines and blocks since the start, for FaultPlan::hangUpAfter.
    int unitsSeen_ = 0;
    bool hungUp_ = false;
    bool hangUpDue_ = false;

    std::int64_t announceDueUs_ = 0;    // Restarting: when "!" may go out
    std::int64_t bootIdleSinceUs_ = 0;  // BootLoader: last sign of life from the host

    std::uint64_t revision_ = 0;
    std::vector<OutputChunk> output_;
    int linesForPowerCut_ = 0;
    std::int64_t powerOffUs_ = -1;  // FaultPlan::powerCutAfter: the dead time, once struck
    std::int64_t powerOnUs_ = -1;
    std::function<void(const std::string&)> log_;
    SignalMover signalMover_;
    std::minstd_rand pieceRandom_;  // fixed seed: a run's pauses repeat
};

// Bytes as readable text: CR, LF and other control or non-ASCII bytes escaped.
std::string printable(std::string_view bytes);

}  // namespace zelar::sim
