#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "campaign/world.h"
#include "sim/modem_store.h"

namespace zelar::campaign {

// One run of an operation as the oracle sees it.
struct RunRecord {
    bool ok = false;
    std::string output;  // the pages after a read, the file a save or download wrote
    sim::ModemStore store;
    std::vector<std::string> shown;  // message box texts, then the status texts that changed
    bool declined = false;
};

// What a read's output shows for a control the read could not fill (its voice call block):
// the line matches whatever the fault-free run shows there.
inline constexpr std::string_view kNotRead = "(not read)";

enum class Outcome { Succeeded, Failed, Cancelled, Violation };

struct Verdict {
    Outcome outcome = Outcome::Succeeded;
    std::string why;  // for a violation
};

// The rule: an operation that reports success left the modem (settings memory, flash, program
// memory) and what it showed or wrote exactly as the fault-free run did; one that fails shows a
// failure message the program has for it, and no success message. A fault the program rides out
// fails nothing that the fault-free run did.
Verdict judge(const RunRecord& twin, const RunRecord& faulty, bool riddenOut);

}  // namespace zelar::campaign
