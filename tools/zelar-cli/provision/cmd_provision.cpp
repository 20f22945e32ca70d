#include <algorithm>
#include <iostream>
#include <memory>

#include "archive_choice.h"
#include "commands.h"
#include "escaping_buffer.h"
#include "file_checks.h"
#include "files/file_io.h"
#include "files/settings_file.h"
#include "platform/regular_files.h"
#include "provision/provision_ports.h"
#include "provision/provision_report.h"
#include "provision/provision_runner.h"
#include "terminal.h"
#include "text/cp1251.h"
#include "trace_file.h"

namespace zelar::cli {

namespace {

// Far above any script or values file a person writes.
constexpr std::size_t kLargestInput = 16 << 20;

std::optional<std::string> readInput(const std::string& path, std::size_t limit) {
    if (!inputFileReady(path))
        return std::nullopt;
    auto bytes = readFileUpTo(path, limit);
    if (!bytes || bytes->size() > limit) {
        std::cerr << "zelar-cli: cannot read " << path << (bytes ? ": too large" : "") << '\n';
        return std::nullopt;
    }
    return bytes;
}

// What the options say that no file is needed for; the reason they will not do.
std::string optionsProblem(const CliOptions& options) {
    if (!options.port.empty() || !options.files.empty())
        return "provision takes its ports as --ports LIST and no other arguments";
    if (!options.trace.empty())
        return "provision takes no --trace: trace one port with another command";
    if (!options.templateFile.empty() && !options.user)
        return "provision --template needs --user N --password XXXX";
    if (!options.valuesFile.empty() && options.scriptFile.empty())
        return "provision --values needs --script";
    for (const std::string* input :
         {&options.templateFile, &options.scriptFile, &options.valuesFile}) {
        if (!options.reportFile.empty() && !input->empty() && sameFile(options.reportFile, *input))
            return "the report would replace '" + *input + "'";
    }
    return {};
}

// The template, the script and the values, each checked before any port is opened.
bool loadFiles(const CliOptions& options, ProvisionPlan& plan) {
    if (!options.templateFile.empty()) {
        const auto bytes = readInput(options.templateFile, kSettingsFileLimit);
        SettingsFileContent content;
        if (!bytes)
            return false;
        if (!parseSettingsFile(*bytes, content)) {
            std::cerr << "zelar-cli: '" << options.templateFile << "' is not a settings file\n";
            return false;
        }
        // Every port would restore it, and restore refuses it.
        if (const auto problem = firstUnwritableValue(*bytes)) {
            std::cerr << "zelar-cli: '" << options.templateFile << "' will not restore:\n"
                      << "zelar-cli: " << problemText(*problem) << '\n';
            return false;
        }
    }
    if (!options.scriptFile.empty()) {
        const auto script = readInput(options.scriptFile, kLargestInput);
        if (!script)
            return false;
        // In UTF-8 before the values, which are UTF-8, are put in.
        plan.script = fileTextToUtf8(*script);
    }
    if (!options.valuesFile.empty()) {
        const auto csv = readInput(options.valuesFile, kLargestInput);
        if (!csv)
            return false;
        ValuesLoad load = parseValues(*csv);
        if (!load.values) {
            std::cerr << "zelar-cli: " << options.valuesFile << ": " << load.error << '\n';
            return false;
        }
        plan.values = std::move(load.values);
    }
    if (const std::string problem =
            plan.script ? scriptNamesProblem(*plan.script, plan.values ? &*plan.values : nullptr)
                        : "";
        !problem.empty()) {
        std::cerr << "zelar-cli: " << options.scriptFile << ": " << problem << '\n';
        return false;
    }
    return options.reportFile.empty() || outputFileReady(options.reportFile);
}

ProvisionPlan planOf(const CliOptions& options, std::vector<std::string> ports) {
    ProvisionPlan plan;
    plan.jobs = options.jobs ? static_cast<std::size_t>(*options.jobs) : ports.size();
    plan.ports = std::move(ports);
    plan.user = options.user;
    plan.password = options.password;
    plan.templateFile = options.templateFile;
    plan.verify = options.verify;
    if (archiveRecording(options))
        plan.archiveFile = archiveFileFor(options);
    plan.fast = options.fast;
    plan.yes = options.yes;
    plan.retries = options.retries;
    plan.retryDelayMs = options.retryDelayMs;
    return plan;
}

// The table on a terminal that shows it whole (the heading, a row a port and the line the
// cursor stands on, each line unbroken), else lines. The table writes past the escaping of
// stdout, as it escapes its texts itself.
std::unique_ptr<ProvisionView> viewForStdout(std::size_t ports,
                                             std::unique_ptr<std::ostream>& terminal) {
    const TerminalSize size = liveTerminalSize();
    if (static_cast<std::size_t>(size.rows) < ports + 2 ||
        static_cast<std::size_t>(size.columns) <= tableLines({}).front().size())
        return std::make_unique<LineView>(std::cout);
    auto* escaping = dynamic_cast<EscapingBuffer*>(std::cout.rdbuf());
    terminal = std::make_unique<std::ostream>(escaping ? escaping->target() : std::cout.rdbuf());
    return std::make_unique<TableView>(*terminal);
}

}  // namespace

int runProvision(CliSession&, const CliOptions& options) {
    if (const std::string problem = optionsProblem(options); !problem.empty())
        return badArguments(problem);
    PortList list = parsePortList(options.ports);
    if (!list.error.empty())
        return badArguments(list.error);
    ProvisionPlan plan = planOf(options, std::move(list.ports));
    if (!loadFiles(options, plan))
        return 2;

    std::unique_ptr<std::ostream> terminal;
    const std::unique_ptr<ProvisionView> view = viewForStdout(plan.ports.size(), terminal);
    ProvisionRunner runner(plan, *view);
    const std::vector<PortProgress> ports = runner.run();
    const bool allOk = std::all_of(ports.begin(), ports.end(), [](const PortProgress& p) {
        return p.result == PortResult::Ok;
    });
    if (!options.reportFile.empty()) {
        if (const std::string error = replaceFile(options.reportFile, provisionReportCsv(ports));
            !error.empty()) {
            std::cerr << "zelar-cli: cannot write the report " << options.reportFile << ": "
                      << error << '\n';
            return 1;
        }
    }
    return allOk ? 0 : 1;
}

}  // namespace zelar::cli
