#pragma once

#include <span>
#include <string>

#include "campaign/world.h"

namespace zelar::campaign {

// Where an operation keeps its files: the inputs it makes and the outputs it names.
struct OpFiles {
    std::string dir;          // the campaign's folder
    std::string tag;          // "twin" or "faulty": the two runs never share an output
    std::string restoreFrom;  // a settings file of an installed modem, made at the start
    std::string path(const std::string& name) const { return dir + "/" + tag + "-" + name; }
};

// What a run of an operation reports beyond the modem's memories: what it showed or wrote that
// must be the same as in the fault-free run when it succeeded.
struct OpRun {
    bool ok = false;
    std::string output;
};

// One kind of user operation. Every choice it makes comes from `rng`, so two runs from the same
// memories and seed do the same thing until a fault makes them differ.
struct Operation {
    const char* name;
    int weight;
    bool loggedInFirst;  // read and log in as a master before it (without faults)
    OpRun (*run)(World& w, Rng& rng, const OpFiles& files);
};

std::span<const Operation> operations();
const Operation& pickOperation(Rng& rng);

// Reads the modem and logs in as user 1 with the password the modem holds.
bool readAndLogInAsMaster(World& w);

}  // namespace zelar::campaign
