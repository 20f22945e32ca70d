#include <algorithm>
#include <iostream>
#include <vector>

#include "app/file_session/file_menu.h"
#include "commands.h"
#include "file_checks.h"
#include "files/file_io.h"
#include "files/settings_file.h"
#include "interrupt.h"
#include "report_output.h"
#include "script/script_runner.h"
#include "write_log.h"

namespace zelar::cli {

namespace {

// Far above any script a person writes; a larger file is no script.
constexpr std::size_t kLargestScript = 16 << 20;

// Stdin up to one byte past `limit`: enough to know that it is too large, whatever follows.
std::string readStdinUpTo(std::size_t limit) {
    std::string text;
    std::vector<char> buffer(1 << 16);
    while (text.size() <= limit) {
        const std::size_t want = std::min(buffer.size(), limit + 1 - text.size());
        std::cin.read(buffer.data(), static_cast<std::streamsize>(want));
        const auto got = static_cast<std::size_t>(std::cin.gcount());
        text.append(buffer.data(), got);
        if (got < want)
            break;
    }
    return text;
}

std::optional<std::string> readScript(const std::string& path) {
    std::optional<std::string> bytes;
    if (path == "-") {
        bytes = readStdinUpTo(kLargestScript);
    } else {
        if (!inputFileReady(path))
            return std::nullopt;
        bytes = readFileUpTo(path, kLargestScript);
        if (!bytes) {
            std::cerr << "zelar-cli: cannot read " << path << '\n';
            return std::nullopt;
        }
    }
    if (bytes->size() > kLargestScript) {
        std::cerr << "zelar-cli: " << (path == "-" ? std::string("stdin") : path)
                  << ": a script is at most " << kLargestScript << " bytes (16 MiB)\n";
        return std::nullopt;
    }
    return bytes;
}

// A script that stopped names what it stored, in the modem (main names the sections the modem
// took) or in the file: the bytes the file had when it was opened against those it has now.
// Having stored anything, it exits with 1: 2 says that nothing was changed.
int stoppedStatus(CliSession& session, const std::string& file, const std::string& opened,
                  int status) {
    if (status == 0)
        return 0;
    bool stored = !session.writtenSummary().empty();
    if (!file.empty()) {
        const auto now = readFileUpTo(file, kSettingsFileLimit);
        const std::string pages = changedFilePages(opened, now.value_or(opened));
        if (!pages.empty())
            std::cerr << "zelar-cli: stored in " << file << ": " << pages << '\n';
        stored = stored || !pages.empty();
    }
    return stored && status == 2 ? 1 : status;
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
    runner.setStopWhen([] { return interrupted() || outputLost(); });
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
    // The file is held from here to the end: another program's change would be lost between.
    const std::string& file = options.settingsFile;
    if (!file.empty() && (!inputFileReady(file) || !openSettingsFile(session.app(), file)))
        return finish(2);
    const std::string opened =
        file.empty() ? std::string() : readFileUpTo(file, kSettingsFileLimit).value_or("");
    if (options.user && !runner.logIn(*options.user, options.password))
        return finish(1);
    return finish(stoppedStatus(session, file, opened, runner.run(script.lines)));
}

}  // namespace zelar::cli
