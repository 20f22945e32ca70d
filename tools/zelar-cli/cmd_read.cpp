#include <iostream>

#include "commands.h"
#include "port_line.h"
#include "report_output.h"
#include "settings_report.h"

namespace zelar::cli {

int runPorts(CliSession& session, const CliOptions& options) {
    if (!options.port.empty() || options.user || !options.files.empty())
        return badArguments("'ports' takes no options");
    if (!session.start())
        return 1;
    const ComboBox& list = session.app().main.ComboBox1;
    for (std::size_t i = 0; i < list.items.size(); ++i) {
        const std::string hint = i < list.itemHints.size() ? list.itemHints[i] : std::string();
        std::cout << portLine(list.items[i], hint) << '\n';
    }
    return 0;
}

int runRead(CliSession& session, const CliOptions& options) {
    if (options.port.empty())
        return badArguments("read needs --port COMn");
    if (!options.files.empty())
        return badArguments("read takes no file");
    Report report;
    report.withState = options.state;
    if (!session.start())
        return printReport(session, options, report, 1);
    session.showProgress();
    const bool ok = session.readAndLogIn();
    // A failed read leaves only the blank form, which tells nothing.
    if (session.app().settingsRead)
        addSettingsReport(report, session.app());
    return printReport(session, options, report, ok ? 0 : 1);
}

}  // namespace zelar::cli
