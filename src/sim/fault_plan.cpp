#include "sim/fault_plan.h"

#include <algorithm>
#include <array>
#include <utility>

#include "sim/sim_hex.h"

namespace zelar::sim {

namespace {

constexpr std::array<std::pair<std::string_view, ReplyFault>, 10> kReplyFaults{{
    {"silent", ReplyFault::Silent},
    {"no-ok", ReplyFault::NoOk},
    {"split", ReplyFault::Split},
    {"stray-before", ReplyFault::StrayBefore},
    {"stray-after", ReplyFault::StrayAfter},
    {"late", ReplyFault::Late},
    {"corrupt", ReplyFault::Corrupt},
    {"alter", ReplyFault::Alter},
    {"pieces", ReplyFault::Pieces},
    {"late-within", ReplyFault::LateWithin},
}};

// Splits "NAME:ARG" into the name and the optional argument text.
std::pair<std::string_view, std::optional<std::string_view>> splitArgument(std::string_view text) {
    const auto colon = text.find(':');
    if (colon == std::string_view::npos)
        return {text, std::nullopt};
    return {text.substr(0, colon), text.substr(colon + 1)};
}

}  // namespace

std::optional<FaultRule> parseFaultRule(std::string_view text) {
    const auto [name, argument] = splitArgument(text);
    const std::string_view wanted = name;  // a lambda cannot take a structured binding here
    const auto kind = std::find_if(kReplyFaults.begin(), kReplyFaults.end(),
                                   [&](const auto& entry) { return entry.first == wanted; });
    if (kind == kReplyFaults.end())
        return std::nullopt;
    FaultRule rule{kind->second, 0, 0};
    if (!argument)
        return rule;
    std::string_view command = *argument;
    const auto at = command.find('@');
    if (at != std::string_view::npos) {
        const auto occurrence = hexfield::decimal(command.substr(at + 1));
        if (!occurrence || *occurrence == 0)
            return std::nullopt;
        rule.occurrence = static_cast<int>(*occurrence);
        command = command.substr(0, at);
    }
    const auto number = hexfield::decimal(command);
    if (!number || command.size() != 2)
        return std::nullopt;
    rule.command = static_cast<int>(*number);
    return rule;
}

std::optional<BootFaultRule> parseBootFaultRule(std::string_view text) {
    const auto [name, argument] = splitArgument(text);
    BootFaultRule rule;
    if (name == "no-announce" || name == "double-announce") {
        rule.fault = name == "no-announce" ? BootFault::NoAnnounce : BootFault::DoubleAnnounce;
        return argument ? std::nullopt : std::optional<BootFaultRule>(rule);
    }
    if (name == "vanish") {
        rule.fault = BootFault::Vanish;
        return argument ? std::nullopt : std::optional<BootFaultRule>(rule);
    }
    if (name == "noise") {
        rule.fault = BootFault::Noise;
        if (!argument)
            return rule;
        const auto ms = hexfield::decimal(*argument);
        if (!ms)
            return std::nullopt;
        rule.leadUs = static_cast<std::int64_t>(*ms) * 1000;
        return rule;
    }
    if (name == "double-ack")
        rule.fault = BootFault::DoubleAck;
    else if (name == "no-ack")
        rule.fault = BootFault::NoAck;
    else
        return std::nullopt;
    if (argument) {
        const auto page = hexfield::decimal(*argument);
        if (!page)
            return std::nullopt;
        rule.page = static_cast<int>(*page);
    }
    return rule;
}

std::string faultName(ReplyFault fault) {
    for (const auto& [name, kind] : kReplyFaults) {
        if (kind == fault)
            return std::string(name);
    }
    return "?";
}

std::vector<ReplyFault> FaultTracker::next(const FaultPlan& plan, int command) {
    counts_.resize(plan.rules.size(), 0);
    std::vector<ReplyFault> faults;
    for (std::size_t i = 0; i < plan.rules.size(); ++i) {
        const FaultRule& rule = plan.rules[i];
        if (rule.command != 0 && rule.command != command)
            continue;
        ++counts_[i];
        if (rule.occurrence == 0 || rule.occurrence == counts_[i])
            faults.push_back(rule.fault);
    }
    return faults;
}

const BootFaultRule* findBootFault(const FaultPlan& plan, BootFault fault) {
    const auto it = std::find_if(plan.bootRules.begin(), plan.bootRules.end(),
                                 [&](const BootFaultRule& r) { return r.fault == fault; });
    return it == plan.bootRules.end() ? nullptr : &*it;
}

bool hasBootFault(const FaultPlan& plan, BootFault fault, int page) {
    return std::any_of(plan.bootRules.begin(), plan.bootRules.end(), [&](const BootFaultRule& r) {
        return r.fault == fault && (r.page == -1 || r.page == page);
    });
}

}  // namespace zelar::sim
