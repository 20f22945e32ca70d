#include "provision/provision_steps.h"

#include <algorithm>
#include <nlohmann/json.hpp>

#include "text/hex.h"

namespace zelar::cli {

namespace {

// The read's identification lines carry their labels: "Серийный номер: 7204518".
std::string afterLabel(const std::string& value) {
    const auto colon = value.find(": ");
    return colon == std::string::npos ? value : value.substr(colon + 2);
}

void addLogin(std::vector<std::string>& args, const ProvisionPlan& plan) {
    if (!plan.user)
        return;
    args.insert(args.end(), {"--user", std::to_string(*plan.user), "--password", plan.password});
}

// The options of a step that writes: the answers, the retries and the read-back.
void addWriting(std::vector<std::string>& args, const ProvisionPlan& plan) {
    if (plan.verify)
        args.push_back("--verify");
    if (plan.retries) {
        args.insert(args.end(), {"--retries", std::to_string(*plan.retries), "--retry-delay",
                                 std::to_string(plan.retryDelayMs)});
    }
}

}  // namespace

std::string stepName(ProvisionStep step) {
    switch (step) {
        case ProvisionStep::Read:
            return "read";
        case ProvisionStep::Restore:
            return "restore";
        case ProvisionStep::Script:
            return "script";
        case ProvisionStep::Verify:
            return "verify";
    }
    return {};
}

std::vector<ProvisionStep> provisionSteps(const ProvisionPlan& plan) {
    std::vector<ProvisionStep> steps{ProvisionStep::Read};
    if (!plan.templateFile.empty())
        steps.push_back(ProvisionStep::Restore);
    if (plan.script)
        steps.push_back(ProvisionStep::Script);
    if (plan.verify && !plan.templateFile.empty())
        steps.push_back(ProvisionStep::Verify);
    return steps;
}

std::vector<std::string> stepArguments(ProvisionStep step, const ProvisionPlan& plan,
                                       const std::string& port, const std::string& scriptFile) {
    std::vector<std::string> args{stepName(step), "--port", port};
    addLogin(args, plan);
    if (plan.fast)
        args.push_back("--fast");
    if (!plan.archiveFile.empty())
        args.insert(args.end(), {"--archive-file", plan.archiveFile});
    switch (step) {
        case ProvisionStep::Read:
            args.push_back("--json");
            break;
        case ProvisionStep::Restore:
            // Naming the template is the answer to restore's question.
            addWriting(args, plan);
            args.insert(args.end(), {"--yes", plan.templateFile});
            break;
        case ProvisionStep::Script:
            addWriting(args, plan);
            if (plan.yes)
                args.push_back("--yes");
            // A value from the values file that the field would change fails the port.
            args.push_back("--exact");
            args.push_back(scriptFile);
            break;
        case ProvisionStep::Verify:
            // What the restore wrote: it leaves the auto-detection as the modem had it.
            args.insert(args.end(), {"--as-restored", plan.templateFile});
            break;
    }
    return args;
}

std::optional<Identification> identificationFromJson(std::string_view json) {
    const auto report = nlohmann::json::parse(json, nullptr, false);
    if (!report.is_object() || !report.contains("sections") || !report["sections"].is_array())
        return std::nullopt;
    for (const auto& section : report["sections"]) {
        if (!section.is_object() || section.value("name", "") != "identification" ||
            !section.contains("controls") || !section["controls"].is_array())
            continue;
        Identification id;
        for (const auto& control : section["controls"]) {
            if (!control.is_object())
                continue;
            const std::string name = control.value("name", "");
            const std::string value = afterLabel(control.value("value", ""));
            if (name == "StaticTextSN")
                id.serial = value;
            else if (name == "StaticTextVer")
                id.firmware = value;
            else if (name == "EditIMEI")
                id.imei = value;
        }
        return id;
    }
    return std::nullopt;
}

std::optional<int> progressPercent(std::string_view line) {
    constexpr std::string_view kPrefix = "progress ";
    if (line.substr(0, kPrefix.size()) != kPrefix)
        return std::nullopt;
    line.remove_prefix(kPrefix.size());
    const auto slash = line.find('/');
    const auto done = parseDecimal(line.substr(0, slash));
    const auto all =
        slash == std::string_view::npos ? std::nullopt : parseDecimal(line.substr(slash + 1));
    if (!done || !all)
        return std::nullopt;
    return *all > 0 ? static_cast<int>(std::min<long long>(100, *done * 100LL / *all)) : 0;
}

std::string childMessage(ProvisionStep step, const std::vector<std::string>& errorLines,
                         std::string_view output, int status) {
    const std::string_view first = output.substr(0, output.find('\n'));
    // verify prints its differences on stdout.
    if (step == ProvisionStep::Verify && status == 1 && !first.empty()) {
        const auto more = std::count(output.begin(), output.end(), '\n') - 1;
        return std::string(first) +
               (more > 0 ? " (and " + std::to_string(more) + " more differences)" : "");
    }
    if (!errorLines.empty()) {
        const std::string& last = errorLines.back();
        // These lines tell where or why the message box just before them came.
        const bool followsBox =
            last.rfind("zelar-cli: ", 0) == 0 || last.ends_with(": the operation failed");
        if (followsBox && errorLines.size() > 1 &&
            errorLines[errorLines.size() - 2].rfind('[', 0) == 0)
            return errorLines[errorLines.size() - 2] + "; " + last;
        return last;
    }
    if (!first.empty())
        return std::string(first);
    return "exit status " + std::to_string(status);
}

}  // namespace zelar::cli
