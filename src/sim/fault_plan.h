#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zelar::sim {

// How one answered command may misbehave.
enum class ReplyFault {
    Silent,       // the command is lost on the line: not carried out, nothing answered
    NoOk,         // carried out, but the closing "OK" CR LF never comes
    Split,        // the reply comes in several pieces with pauses between them
    StrayBefore,  // unrelated bytes precede the reply
    StrayAfter,   // unrelated bytes follow the reply
    Late,         // the reply starts only after a long pause
    Corrupt,      // payload characters are replaced by a character that is not a hex digit
    Alter,        // a V16 or V18 write is answered "OK", then its first byte changes (a worn cell)
    Pieces,       // the reply comes a few bytes at a time, as a USB adapter hands it on
    LateWithin,   // the reply starts late, but inside the time the program waits for it
};

// One reply fault and the commands it hits.
struct FaultRule {
    ReplyFault fault = ReplyFault::Silent;
    int command = 0;     // V-command number; 0 hits every command
    int occurrence = 0;  // 1-based count among the commands it could hit; 0 hits all of them
};

// How the boot loader may misbehave.
enum class BootFault {
    NoAnnounce,      // never sends "!"
    DoubleAnnounce,  // sends "!!" instead of "!"
    DoubleAck,       // acknowledges a block with two characters
    NoAck,           // stores the block but sends no acknowledgement
    Noise,           // FaultPlan::bootNoise goes out `leadUs` before the "!"
    Vanish,          // the line goes dead where "!" would go out, as a pulled adapter's
};

struct BootFaultRule {
    BootFault fault = BootFault::NoAnnounce;
    int page = -1;                 // the block's page number; -1 hits every block
    std::int64_t leadUs = 50'000;  // Noise: from the end of the noise to the "!"
};

// Everything that can go wrong, with the parameters of each kind of fault.
struct FaultPlan {
    std::vector<FaultRule> rules;
    std::vector<BootFaultRule> bootRules;
    // After this many commands the modem answers nothing more until it restarts; -1 never.
    int stopAfterCommands = -1;
    // After this many command lines and boot loader blocks, counted together from the start,
    // the next one is not carried out and the line goes dead, as when the cable is pulled: the
    // keeper of the line (zelar-sim) hangs up. Happens once; -1 never.
    int hangUpAfter = -1;

    int splitPieces = 2;
    std::int64_t splitGapUs = 150'000;
    std::string strayBytes = "\r\nRING\r\n";
    std::int64_t lateUs = 6'000'000;
    int corruptCount = 1;
    char corruptWith = 'G';
    // After this many command lines, counted from the start, the modem loses power for
    // powerCutMs: it hears and answers nothing, then runs its firmware again with an empty page
    // buffer (all 0xFF), settings memory and flash as they were. Happens once; below 1 never.
    int powerCutAfter = -1;
    int powerCutMs = 3000;

    // A USB serial adapter passes bytes on in small pieces, each after its latency timer: here
    // pieceBytes at a time, a pause drawn from pieceGapMinUs to pieceGapMaxUs between them.
    int pieceBytes = 8;
    std::int64_t pieceGapMinUs = 1'000;
    std::int64_t pieceGapMaxUs = 16'000;
    // Inside the 5 s that the program polls for a reply (50 polls of 100 ms).
    std::int64_t lateWithinUs = 4'000'000;
    // The host's port refuses every write after this many (command lines and boot loader
    // blocks, one write each), as a failing adapter does; -1 never. In-process only: a
    // pseudo-terminal cannot make the host's write fail.
    int writeErrorAfter = -1;
    std::string bootNoise = std::string(1, '\0');  // a glitch as the modem's line driver wakes
};

// Fault text of the command line: "KIND", "KIND:NN" (only V-command NN) or "KIND:NN@K" (only the
// K-th V-command NN), where KIND is silent, no-ok, split, stray-before, stray-after, late,
// corrupt, alter, pieces or late-within. Nothing when the text is not such a fault.
std::optional<FaultRule> parseFaultRule(std::string_view text);
// "no-announce", "double-announce", "double-ack", "double-ack:PAGE", "no-ack", "no-ack:PAGE",
// "noise", "noise:MS" (MS before the "!"), "vanish".
std::optional<BootFaultRule> parseBootFaultRule(std::string_view text);
// The first rule of that kind, if any.
const BootFaultRule* findBootFault(const FaultPlan& plan, BootFault fault);

std::string faultName(ReplyFault fault);

// Decides, command by command, which faults apply; it counts the commands each rule could hit.
class FaultTracker {
  public:
    // The faults for the next command numbered `command`; advances the rules' counts.
    std::vector<ReplyFault> next(const FaultPlan& plan, int command);
    void reset() { counts_.clear(); }

  private:
    std::vector<int> counts_;
};

bool hasBootFault(const FaultPlan& plan, BootFault fault, int page);

}  // namespace zelar::sim
