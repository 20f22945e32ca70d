#include <fstream>
#include <iostream>
#include <sstream>

#include "app/script_runner.h"
#include "commands.h"
#include "platform/file_path.h"

namespace zelar::cli {

namespace {

std::optional<std::string> readScript(const std::string& path) {
    std::ostringstream text;
    if (path == "-") {
        text << std::cin.rdbuf();
        return text.str();
    }
    std::ifstream file(zelar::filePath(path), std::ios::binary);
    if (!file)
        return std::nullopt;
    text << file.rdbuf();
    return text.str();
}

}  // namespace

int runScript(CliSession& session, const CliOptions& options) {
    if (options.files.size() != 1)
        return badArguments("script needs one file, or - for stdin");
    const std::string& path = options.files.front();
    const auto text = readScript(path);
    if (!text) {
        std::cerr << "zelar-cli: cannot read " << path << '\n';
        return 2;
    }
    const ParsedScript script = parseScript(*text);
    if (script.error) {
        std::cerr << "line " << script.error->line << ": " << script.error->message << '\n';
        return 2;
    }
    ScriptRunner runner(session.app(), session.dialogs(), std::cout, std::cerr);
    // Names are checked before the modem hears anything.
    if (const auto error = runner.checkNames(script.lines)) {
        std::cerr << "line " << error->line << ": " << error->message << '\n';
        return 2;
    }
    if (!session.start())
        return 1;
    session.showProgress();
    if (options.user && !runner.logIn(*options.user, options.password))
        return 1;
    return runner.run(script.lines);
}

}  // namespace zelar::cli
