#include "campaign/campaign.h"

#include <algorithm>
#include <functional>

#include "app/core/handler_guard.h"
#include "app/service/settings_file_page.h"
#include "app/shell/display_mode.h"
#include "campaign/faults.h"
#include "sim/installed_modem.h"

namespace zelar::campaign {

namespace {

struct Run {
    RunRecord record;
    Exchanges exchanges;
};

// Status lines whose last text tells an outcome.
std::vector<std::string> statuses(const App& app) {
    return {app.main.StatusBar1.text, app.setup.labInfo.caption};
}

Run runOnce(const Settings& s, const sim::ModemStore& before, std::uint64_t seed,
            const std::string& tag, const std::function<std::string(World&, const Exchanges&)>& arm,
            std::string& armed) {
    Rng rng(seed);
    const Operation& op = pickOperation(rng);
    World w(before, mix(seed ^ 0xA5));
    w.app.main.cbFastExchange.checked = rng.chance(50);
    cbFastExchangeClick(w.app);
    w.app.main.cbVerifyWrites.checked = rng.chance(50);
    Run run;
    if (op.loggedInFirst && !readAndLogInAsMaster(w)) {
        run.record.output = "(the fault-free read and login before it failed)";
        run.record.store = w.modem.store();
        return run;
    }
    w.dialogs.shown.clear();
    w.dialogs.declined = false;
    run.exchanges.commandsBefore = w.modem.commandsSeen();
    run.exchanges.verifying = w.app.main.cbVerifyWrites.checked;
    if (arm)
        armed = arm(w, run.exchanges);
    const auto statusBefore = statuses(w.app);
    w.recording = true;
    const OpRun result = op.run(w, rng, OpFiles{s.dir, tag, s.restoreFrom});
    run.record.ok = result.ok;
    run.record.output = result.output;
    run.record.store = w.modem.store();
    for (const auto& m : w.dialogs.shown)
        run.record.shown.push_back(m.text);
    const auto statusAfter = statuses(w.app);
    for (std::size_t i = 0; i < statusAfter.size(); ++i) {
        if (statusAfter[i] != statusBefore[i])
            run.record.shown.push_back(statusAfter[i]);
    }
    run.record.declined = w.dialogs.declined;
    run.exchanges.sent = w.exchanges;
    return run;
}

// "OPERATION/TEXT" leaves out the faults whose description contains TEXT in that operation.
bool skipped(const Settings& s, const std::string& op, const std::string& armed) {
    for (const std::string& skip : s.skip) {
        const std::size_t slash = skip.find('/');
        if (skip.substr(0, slash) == op && armed.find(skip.substr(slash + 1)) != std::string::npos)
            return true;
    }
    return false;
}

}  // namespace

std::uint64_t operationSeed(std::uint64_t seed, std::size_t index) {
    return mix(mix(seed) ^ (index + 1) * 0xD1B54A32D192ED03ULL);
}

OpReport runOperation(const Settings& s, const sim::ModemStore& before, std::size_t index) {
    const std::uint64_t seed = operationSeed(s.seed, index);
    OpReport report;
    report.index = index;
    Rng pick(seed);
    report.op = &pickOperation(pick);
    std::string unused;
    const Run twin = runOnce(s, before, seed, "twin", {}, unused);

    // The fault, chosen from what the fault-free run exchanged.
    Rng rng(mix(seed ^ 0xFA17));
    const FaultKind* kind = rng.chance(85) ? pickFault(rng, twin.exchanges) : nullptr;
    const auto arm = [&](World& w, const Exchanges&) {
        if (!kind)
            return std::string();
        const std::string armed = kind->inject(w, rng, twin.exchanges);
        if (skipped(s, report.op->name, armed)) {
            kind->undo(w);
            return std::string();
        }
        return armed;
    };
    const Run faulty = runOnce(s, before, seed, "faulty", arm, report.fault);
    report.after = faulty.record.store;
    const bool riddenOut = kind && kind->riddenOut && !report.fault.empty();
    report.verdict = judge(twin.record, faulty.record, riddenOut);
    if (riddenOut && report.verdict.outcome != Outcome::Violation &&
        (faulty.record.ok != twin.record.ok || faulty.record.shown != twin.record.shown)) {
        report.verdict = {Outcome::Violation, "did not ride out a fault it has resends for"};
    }
    return report;
}

bool lastViolates(const Settings& s, const std::vector<std::size_t>& indices) {
    sim::ModemStore store = sim::installedModem();
    OpReport report;
    for (std::size_t i : indices) {
        report = runOperation(s, store, i);
        store = report.after;
    }
    return report.verdict.outcome == Outcome::Violation;
}

std::vector<std::size_t> shrink(const Settings& s, std::vector<std::size_t> indices) {
    // Most violations need only the last operation and a little of what came before it: try
    // short tails first, then drop what the tail does not need one by one.
    for (std::size_t tail = 1; tail < indices.size(); tail *= 2) {
        const std::vector<std::size_t> shorter(indices.end() - std::ptrdiff_t(tail), indices.end());
        if (lastViolates(s, shorter)) {
            indices = shorter;
            break;
        }
    }
    for (std::size_t i = 0; i + 1 < indices.size();) {
        auto without = indices;
        without.erase(without.begin() + std::ptrdiff_t(i));
        if (lastViolates(s, without))
            indices = without;
        else
            ++i;
    }
    return indices;
}

bool writeInstalledSettingsFile(const std::string& path) {
    World w(sim::installedModem(), 0);
    if (!readAndLogInAsMaster(w))
        return false;
    w.dialogs.files.push_back(path);
    return BtnSaveParClick(w.app) == SettingsFileResult::Saved;
}

}  // namespace zelar::campaign
