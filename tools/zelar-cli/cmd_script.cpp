#include <iostream>
#include <sstream>

#include "app/file_session/file_menu.h"
#include "commands.h"
#include "file_checks.h"
#include "files/file_io.h"
#include "report_output.h"
#include "script/script_runner.h"

namespace zelar::cli {

namespace {

// Far above any script a person writes; a larger file is no script.
constexpr std::size_t kLargestScript = 16 << 20;

std::optional<std::string> readScript(const std::string& path) {
    std::ostringstream text;
    if (path == "-") {
        text << std::cin.rdbuf();
        return text.str();
    }
    if (!inputFileReady(path))
        return std::nullopt;
    auto bytes = readFileUpTo(path, kLargestScript);
    if (!bytes || bytes->size() > kLargestScript) {
        std::cerr << "zelar-cli: cannot read " << path << (bytes ? ": too large" : "") << '\n';
        return std::nullopt;
    }
    return bytes;
}

}  // namespace

int runScript(CliSession& session, const CliOptions& options) {
    if (options.files.size() != 1)
        return badArguments("script needs one file, or - for stdin");
    if (!options.settingsFile.empty() && !options.port.empty())
        return badArguments("--port and --file exclude each other");
    const std::string& path = options.files.front();
    const auto text = readScript(path);
    if (!text)
        return 2;
    const ParsedScript script = parseScript(*text);
    if (script.error) {
        std::cerr << "line " << script.error->line << ": " << script.error->message << '\n';
        return 2;
    }
    ScriptRunner runner(session.app(), session.dialogs(), std::cout, std::cerr);
    runner.setExactValues(options.exact);
    // Names are checked before the modem hears anything.
    if (const auto error = runner.checkNames(script.lines)) {
        std::cerr << "line " << error->line << ": " << error->message << '\n';
        return 2;
    }
    // With --json each dump is a section of the one object printed at the end.
    Report report;
    if (options.json) {
        runner.setDumpSink([&report](ScriptRunner::DumpLines lines) {
            auto& section = report.section("dump");
            for (auto& [name, value] : lines)
                section.push_back({std::move(name), std::move(value)});
        });
    }
    const auto finish = [&](int status) {
        return options.json ? printReport(session, options, report, status) : status;
    };
    if (!session.start())
        return finish(1);
    session.showProgress();
    if (!options.settingsFile.empty() && (!inputFileReady(options.settingsFile) ||
                                          !openSettingsFile(session.app(), options.settingsFile)))
        return finish(1);
    if (options.user && !runner.logIn(*options.user, options.password))
        return finish(1);
    return finish(runner.run(script.lines));
}

}  // namespace zelar::cli
