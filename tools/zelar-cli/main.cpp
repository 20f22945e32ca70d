#include <QCoreApplication>

#include <iostream>

#include "commands.h"
#include "program_arguments.h"

using namespace zelar::cli;

int main(int argc, char** argv) {
    const std::vector<std::string> args = programArguments(argc, argv);
    const ParseResult parsed = parseCliOptions(args);
    if (!parsed.options)
        return badArguments(parsed.error);
    const CliOptions& options = *parsed.options;
    if (options.command == "--help") {
        std::cout << usageText();
        return 0;
    }
    const CliCommand* command = findCommand(options.command);
    if (command == nullptr)
        return badArguments("unknown command '" + options.command + "'");

    QCoreApplication application(argc, argv);
    CliSession session(options);
    if (!session.traceReady()) {
        std::cerr << "zelar-cli: cannot write the trace file '" << options.trace << "'\n";
        return 1;
    }
    return command->run(session, options);
}
