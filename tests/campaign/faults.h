#pragma once

#include <span>
#include <string>
#include <vector>

#include "campaign/world.h"

namespace zelar::campaign {

// What the fault-free run of an operation sent, for choosing where a fault strikes.
struct Exchanges {
    std::vector<int> sent;   // command numbers, -1 for other lines, kBlockExchange for blocks
    int commandsBefore = 0;  // commands the modem had seen when the operation began
    bool verifying = false;  // "Проверять запись" is on
};

// One kind of fault: whether it can strike this operation, how to arm it on the faulty run's
// modem (returning how it was armed, for the report), and how to take it away again. Adding a
// kind is adding a row to the table in faults.cpp.
struct FaultKind {
    const char* name;
    bool (*fits)(const Exchanges& e);
    std::string (*inject)(World& w, Rng& rng, const Exchanges& e);
    void (*undo)(World& w);
    // The program has the means to ride the fault out (silent resends): the operation must end
    // as the fault-free run did, showing the same and asking nothing more.
    bool riddenOut = false;
};

std::span<const FaultKind> faultKinds();
// A kind that fits, or nothing (some operations exchange nothing).
const FaultKind* pickFault(Rng& rng, const Exchanges& e);

}  // namespace zelar::campaign
