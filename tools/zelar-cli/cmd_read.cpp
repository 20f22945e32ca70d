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
    Report report;  // for --json: each port's name and its tool tip
    auto& ports = report.section({});
    for (std::size_t i = 0; i < list.items.size(); ++i) {
        const std::string hint = i < list.itemHints.size() ? list.itemHints[i] : std::string();
        if (options.json)
            ports.push_back({list.items[i], hint == list.items[i] ? std::string() : hint});
        else
            std::cout << portLine(list.items[i], hint) << '\n';
    }
    return options.json ? printReport(session, options, report, 0) : 0;
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
