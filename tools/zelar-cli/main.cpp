#include <QCoreApplication>

#include <iostream>

#include "commands.h"
#include "escaping_buffer.h"
#include "interrupt.h"
#include "program_arguments.h"
#include "trace_file.h"

using namespace zelar::cli;

int main(int argc, char** argv) {
    // Bytes from files, the modem or the arguments reach the terminal only as printable text.
    const EscapedStream out(std::cout);
    const EscapedStream err(std::cerr);
    const std::vector<std::string> args = programArguments(argc, argv);
    const ParseResult parsed = parseCliOptions(args);
    if (!parsed.help.empty()) {
        std::cout << parsed.help;
        return 0;
    }
    if (!parsed.options)
        return badArguments(parsed.error);
    const CliOptions& options = *parsed.options;
    const CliCommand* command = findCommand(options.command);

    if (const auto file = traceSharedWithFile(options)) {
        std::cerr << "zelar-cli: the trace file is the command's own file '" << *file << "'\n";
        return 2;
    }

    QCoreApplication application(argc, argv);
    CliSession session(options);
    if (!session.traceReady()) {
        std::cerr << "zelar-cli: cannot write the trace file '" << options.trace << "'\n";
        return 1;
    }
    watchInterrupts();
    const int status = command->run(session, options);
    if (interrupted() && status != 0)
        std::cerr << "zelar-cli: interrupted\n";
    return status;
}
