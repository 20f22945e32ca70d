#include <QCoreApplication>
#include <QGuiApplication>

#include <cstdio>
#include <iostream>
#include <memory>

#include "app/report/save_report.h"
#include "commands.h"
#include "escaping_buffer.h"
#include "file_checks.h"
#include "interrupt.h"
#include "program_arguments.h"
#include "trace_file.h"

using namespace zelar::cli;

namespace {

// The command's status, unless its output did not reach stdout and stderr whole (a full disk,
// a closed pipe or file): a cut report must not pass for a good one, nor a command whose
// messages nobody could read.
int withOutputWritten(const EscapedStream& out, const EscapedStream& err, int status) {
    std::cout.flush();
    if (!out.failed() && !err.failed() && std::cout && std::fflush(stdout) == 0 &&
        !std::ferror(stdout))
        return status;
    std::cerr << "zelar-cli: cannot write the output\n";
    return kOutputNotWritten;
}

// Qt Core, or Qt Gui where a report is set as PDF (fonts need it). Without a display, on the
// off-screen platform: the command line never shows a window.
std::unique_ptr<QCoreApplication> makeApplication(const CliOptions& options, int& argc,
                                                  char** argv) {
    if (options.command != "report" || options.files.empty() ||
        !zelar::isPdfName(options.files.back()))
        return std::make_unique<QCoreApplication>(argc, argv);
#ifndef _WIN32
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
    return std::make_unique<QGuiApplication>(argc, argv);
}

int run(const std::vector<std::string>& args, int& argc, char** argv) {
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
    if (const std::string problem = commandFilesProblem(options); !problem.empty()) {
        std::cerr << "zelar-cli: " << problem << '\n';
        return 2;
    }

    const auto application = makeApplication(options, argc, argv);
    CliSession session(options);
    if (!session.traceReady()) {
        std::cerr << "zelar-cli: cannot write the trace file '" << options.trace << "'\n";
        return 2;
    }
    watchInterrupts();
    const int status = command->run(session, options);
    if (status != 0) {
        if (interrupted())
            std::cerr << "zelar-cli: interrupted\n";
        // A restore or defaults that failed, by itself or interrupted, leaves the modem with a
        // mix of old and new sections.
        if (const std::string written = session.writtenSummary(); !written.empty())
            std::cerr << "zelar-cli: " << written << '\n';
    }
    // A trace cut short is no trace to diagnose with, as a cut output is no report.
    if (!session.traceWritten()) {
        std::cerr << "zelar-cli: cannot write the trace file '" << options.trace << "'\n";
        return kOutputNotWritten;
    }
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    // Bytes from files, the modem or the arguments reach the terminal only as printable text.
    const EscapedStream out(std::cout);
    const EscapedStream err(std::cerr);
    return withOutputWritten(out, err, run(programArguments(argc, argv), argc, argv));
}
