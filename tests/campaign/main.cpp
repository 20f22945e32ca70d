// A campaign of random operations against the simulated modem, each run twice from the same
// memories: without a fault and with one. See tests/campaign/README.md.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <map>
#include <sstream>
#include <string>

#include "campaign/campaign.h"
#include "sim/installed_modem.h"

using namespace zelar::campaign;

namespace {

std::vector<std::size_t> parseList(const std::string& text) {
    std::vector<std::size_t> out;
    std::stringstream in(text);
    for (std::string item; std::getline(in, item, ',');)
        out.push_back(std::stoul(item));
    return out;
}

std::string joined(const std::vector<std::size_t>& list) {
    std::string out;
    for (std::size_t i : list)
        out += (out.empty() ? "" : ",") + std::to_string(i);
    return out;
}

int usage() {
    std::cerr << "usage: campaign [--seed N] [--operations N] [--only I,J,...] "
                 "[--skip OPERATION/FAULT]... [--shrink N] [--verbose]\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    Settings s;
    std::size_t count = 100;
    std::vector<std::size_t> only;
    int shrinkLeft = 3;  // violations shrunk; each shrink replays the campaign many times
    bool verbose = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--seed" && hasValue)
            s.seed = std::stoull(argv[++i]);
        else if (arg == "--operations" && hasValue)
            count = std::stoul(argv[++i]);
        else if (arg == "--only" && hasValue)
            only = parseList(argv[++i]);
        else if (arg == "--skip" && hasValue)
            s.skip.push_back(argv[++i]);
        else if (arg == "--shrink" && hasValue)
            shrinkLeft = std::stoi(argv[++i]);
        else if (arg == "--verbose")
            verbose = true;
        else
            return usage();
    }
    if (only.empty()) {
        for (std::size_t i = 0; i < count; ++i)
            only.push_back(i);
    }
    const auto dir =
        std::filesystem::temp_directory_path() / ("zelar-campaign-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    s.dir = dir.string();
    s.restoreFrom = (dir / "installed.md2").string();
    if (!writeInstalledSettingsFile(s.restoreFrom)) {
        std::cerr << "campaign: cannot make the installed modem's settings file\n";
        return 2;
    }

    std::cout << "seed " << s.seed << ", " << only.size() << " operations" << std::endl;
    zelar::sim::ModemStore store = zelar::sim::installedModem();
    std::map<std::string, int> outcomes;
    int faults = 0;
    int violations = 0;
    std::vector<std::size_t> done;
    for (std::size_t index : only) {
        const OpReport r = runOperation(s, store, index);
        store = r.after;
        done.push_back(index);
        faults += !r.fault.empty();
        constexpr const char* kOutcomes[] = {"succeeded", "failed as expected", "cancelled",
                                             "violation"};
        const char* outcome = kOutcomes[int(r.verdict.outcome)];
        ++outcomes[outcome];
        if (verbose) {
            std::cout << index << " " << r.op->name << " " << (r.fault.empty() ? "-" : r.fault)
                      << ": " << outcome << std::endl;
        }
        if (r.verdict.outcome != Outcome::Violation)
            continue;
        ++violations;
        std::cout << "VIOLATION at operation " << index << " (" << r.op->name << ", fault "
                  << (r.fault.empty() ? "none" : r.fault) << "): " << r.verdict.why << std::endl;
        if (shrinkLeft-- > 0) {
            const auto shortest = shrink(s, done);
            std::cout << "  reproduce: campaign --seed " << s.seed << " --only " << joined(shortest)
                      << std::endl;
        } else {
            std::cout << "  reproduce (not shrunk): campaign --seed " << s.seed << " --operations "
                      << index + 1 << std::endl;
        }
    }
    std::filesystem::remove_all(dir);

    std::cout << "operations " << only.size() << ", faults injected " << faults;
    for (const char* kind : {"succeeded", "failed as expected", "cancelled"})
        std::cout << ", " << kind << " " << outcomes[kind];
    std::cout << ", violations " << violations << std::endl;
    return violations == 0 ? 0 : 1;
}
