#include "campaign/faults.h"

#include <algorithm>

namespace zelar::campaign {

namespace {

using sim::ReplyFault;

bool isCommand(int x) {
    return x >= 0 && x < 100;
}
std::vector<std::size_t> where(const Exchanges& e, bool (*wanted)(int)) {
    std::vector<std::size_t> at;
    for (std::size_t i = 0; i < e.sent.size(); ++i) {
        if (wanted(e.sent[i]))
            at.push_back(i);
    }
    return at;
}

int occurrence(const Exchanges& e, std::size_t i) {
    return int(std::count(e.sent.begin(), e.sent.begin() + std::ptrdiff_t(i) + 1, e.sent[i]));
}
// "17@25": the 25th V17 of the operation; "block@3" for boot loader blocks.
std::string exchangeName(const Exchanges& e, std::size_t i) {
    const std::string what = e.sent[i] == kBlockExchange ? "block" : std::to_string(e.sent[i]);
    return what + "@" + std::to_string(occurrence(e, i));
}

// A reply fault on the k-th occurrence of one command that the fault-free run sent: the faulty
// run sends the same commands up to there, so the fault strikes that very exchange.
template <ReplyFault kind>
std::string injectReply(World& w, Rng& rng, const Exchanges& e) {
    bool (*wanted)(int) = isCommand;
    if (kind == ReplyFault::Alter)
        wanted = [](int x) { return x == 16 || x == 18; };
    const auto at = where(e, wanted);
    const std::size_t i = at[std::size_t(rng.below(int(at.size())))];
    const int command = e.sent[i];
    w.modem.options().faults.rules.push_back({kind, command, occurrence(e, i)});
    return sim::faultName(kind) + ":" + exchangeName(e, i);
}
bool anyCommand(const Exchanges& e) {
    return !where(e, isCommand).empty();
}
// A changed cell is found only by reading back; without "Проверять запись" nobody can see it.
bool verifiedWrite(const Exchanges& e) {
    return e.verifying && !where(e, [](int x) { return x == 16 || x == 18; }).empty();
}
bool anyBlock(const Exchanges& e) {
    return std::count(e.sent.begin(), e.sent.end(), kBlockExchange) > 0;
}

std::string stopAfter(World& w, Rng& rng, const Exchanges& e) {
    const int commands = int(where(e, isCommand).size());
    const int after = rng.below(commands);
    w.modem.options().faults.stopAfterCommands = e.commandsBefore + after;
    return "stop-after:" + std::to_string(after);
}
std::string hangUp(World& w, Rng& rng, const Exchanges& e) {
    // Counting starts now: the modem counts only while the fault is armed.
    const int after = rng.below(int(e.sent.size()));
    w.modem.options().faults.hangUpAfter = after;
    return "hang-up-after:" + std::to_string(after) + " (drops " +
           exchangeName(e, std::size_t(after)) + ")";
}
// The modem loses power after one of the operation's commands, for up to 4 s, and comes back
// with its page buffer empty.
std::string powerCut(World& w, Rng& rng, const Exchanges& e) {
    const int after = 1 + rng.below(int(where(e, isCommand).size()));
    sim::FaultPlan& plan = w.modem.options().faults;
    plan.powerCutAfter = after;
    plan.powerCutMs = 100 + rng.below(4000);
    return "power-cut-after:" + std::to_string(after) + " for " + std::to_string(plan.powerCutMs) +
           " ms";
}
// The host's port refuses every write after one of the operation's.
std::string writeError(World& w, Rng& rng, const Exchanges& e) {
    const int after = rng.below(int(e.sent.size()));
    w.modem.options().faults.writeErrorAfter = w.cable.hostWrites() + after;
    return "write-error-after:" + std::to_string(after);
}
// Bytes on the line as a modem's line driver wakes: up to 3 s before the boot loader's "!", or
// joined to it in one burst.
template <bool joined>
std::string bootNoise(World& w, Rng& rng, const Exchanges&) {
    sim::BootFaultRule rule{sim::BootFault::Noise, -1, joined ? 0 : 1'000 * (1 + rng.below(3000))};
    w.modem.options().faults.bootRules.push_back(rule);
    return "noise:" + std::to_string(rule.leadUs / 1000);
}
template <sim::BootFault kind>
std::string bootFault(World& w, Rng& rng, const Exchanges& e) {
    const bool perPage = kind == sim::BootFault::DoubleAck || kind == sim::BootFault::NoAck;
    const int blocks = int(std::count(e.sent.begin(), e.sent.end(), kBlockExchange));
    const int page = perPage ? rng.below(blocks) : -1;
    w.modem.options().faults.bootRules.push_back({kind, page});
    constexpr const char* kNames[] = {"no-announce", "double-announce", "double-ack",
                                      "no-ack",      "noise",           "vanish"};
    return std::string(kNames[int(kind)]) + (perPage ? ":" + std::to_string(page) : "");
}
// A protocol-0 upload: every code has its V18.
bool protocol0Upload(const Exchanges& e) {
    return std::count(e.sent.begin(), e.sent.end(), 18) >= 768;
}
// The upload's first record refused three times (it and two resends), then a power blink of
// 150 ms some fifty commands later.
std::string errorsThenBlink(World& w, Rng& rng, const Exchanges& e) {
    sim::FaultPlan& plan = w.modem.options().faults;
    plan.rules = {{ReplyFault::NoOk, 18, 1}, {ReplyFault::NoOk, 18, 2}, {ReplyFault::NoOk, 18, 3}};
    const auto first = std::find(e.sent.begin(), e.sent.end(), 18) - e.sent.begin();
    int after = int(first) + 1 + 3 + rng.between(40, 60);  // the resends counted
    // The blink strikes just before a record: its four tries (100 ms each) outlast 150 ms. The
    // page loads and reads of a verification wait only 40 and 60 ms, so their tries can all fall
    // inside the blink, which no silent resend rides out.
    while (after - 3 < int(e.sent.size()) && e.sent[std::size_t(after - 3)] != 18)
        ++after;
    plan.powerCutAfter = after;
    plan.powerCutMs = 150;
    return "errors-then-blink:" + std::to_string(plan.powerCutAfter);
}
void clearPlan(World& w) {
    w.modem.options().faults = {};
}

constexpr FaultKind kFaults[] = {
    {"silent", anyCommand, injectReply<ReplyFault::Silent>, clearPlan},
    {"no-ok", anyCommand, injectReply<ReplyFault::NoOk>, clearPlan},
    {"split", anyCommand, injectReply<ReplyFault::Split>, clearPlan},
    {"stray-before", anyCommand, injectReply<ReplyFault::StrayBefore>, clearPlan},
    {"stray-after", anyCommand, injectReply<ReplyFault::StrayAfter>, clearPlan},
    {"late", anyCommand, injectReply<ReplyFault::Late>, clearPlan},
    {"corrupt", anyCommand, injectReply<ReplyFault::Corrupt>, clearPlan},
    {"pieces", anyCommand, injectReply<ReplyFault::Pieces>, clearPlan},
    {"late-within", anyCommand, injectReply<ReplyFault::LateWithin>, clearPlan},
    {"alter", verifiedWrite, injectReply<ReplyFault::Alter>, clearPlan},
    {"stop-after", anyCommand, stopAfter, clearPlan},
    {"power-cut", anyCommand, powerCut, clearPlan},
    {"errors-then-blink", protocol0Upload, errorsThenBlink, clearPlan, true},
    {"write-error", [](const Exchanges& e) { return !e.sent.empty(); }, writeError, clearPlan},
    {"hang-up", [](const Exchanges& e) { return !e.sent.empty(); }, hangUp, clearPlan},
    {"no-announce", anyBlock, bootFault<sim::BootFault::NoAnnounce>, clearPlan},
    {"double-announce", anyBlock, bootFault<sim::BootFault::DoubleAnnounce>, clearPlan},
    {"double-ack", anyBlock, bootFault<sim::BootFault::DoubleAck>, clearPlan},
    {"no-ack", anyBlock, bootFault<sim::BootFault::NoAck>, clearPlan},
    {"noise", anyBlock, bootNoise<false>, clearPlan, true},
    {"noise-joined", anyBlock, bootNoise<true>, clearPlan, true},
    {"vanish", anyBlock, bootFault<sim::BootFault::Vanish>, clearPlan},
};

}  // namespace

std::span<const FaultKind> faultKinds() {
    return kFaults;
}

const FaultKind* pickFault(Rng& rng, const Exchanges& e) {
    std::vector<const FaultKind*> fitting;
    for (const FaultKind& kind : kFaults) {
        if (kind.fits(e))
            fitting.push_back(&kind);
    }
    if (fitting.empty())
        return nullptr;
    return fitting[std::size_t(rng.below(int(fitting.size())))];
}

}  // namespace zelar::campaign
