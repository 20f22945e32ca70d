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

// Standard error carries the command's own messages, which scripts and `provision` read;
// Qt's notes on its surroundings ("QStandardPaths: XDG_RUNTIME_DIR not set" on every start of
// Qt Gui without a session) are none of them. Its errors still go out.
QtMessageHandler qtOwnHandler = nullptr;

void keepQtNotesOffTheOutput(QtMsgType type, const QMessageLogContext& context,
                             const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        qtOwnHandler(type, context, message);
}

// Qt Core, or Qt Gui where a report is set as PDF (fonts need it). The command line never
// shows a window: Qt Gui runs on a platform that needs no display, whatever the environment
// names (a display that does not answer, or a platform that does not exist, would abort it),
// and takes none of the program's arguments as its own.
std::unique_ptr<QCoreApplication> makeApplication(const CliOptions& options, int& argc,
                                                  char** argv) {
    if (options.command != "report" || options.files.empty() ||
        !zelar::isPdfName(options.files.back()))
        return std::make_unique<QCoreApplication>(argc, argv);
#ifdef _WIN32
    qputenv("QT_QPA_PLATFORM", "windows");
#else
    qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
    qtOwnHandler = qInstallMessageHandler(keepQtNotesOffTheOutput);
    static int guiArgc = 1;
    static char* guiArgv[] = {argv[0], nullptr};
    return std::make_unique<QGuiApplication>(guiArgc, guiArgv);
}

int run(const std::vector<std::string>& args, int& argc, char** argv) {
    if (const CliCommand* named = args.empty() ? nullptr : findCommand(args[0]))
        setCommandForHelp(named->name);
    const ParseResult parsed = parseCliOptions(args);
    if (!parsed.help.empty()) {
        std::cout << parsed.help;
        return 0;
    }
    if (!parsed.options)
        return badArguments(parsed.error);
    const CliOptions& options = *parsed.options;
    const CliCommand* command = findCommand(options.command);

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
