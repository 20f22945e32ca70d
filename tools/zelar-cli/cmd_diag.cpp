#include <iostream>

#include "app/diagnostics/diagnostics_page.h"
#include "commands.h"
#include "diag_watch.h"
#include "report_output.h"
#include "settings_report.h"

namespace zelar::cli {

int runDiag(CliSession& session, const CliOptions& options) {
    if (options.port.empty())
        return badArguments("diag needs --port COMn");
    if (!options.files.empty())
        return badArguments("diag takes no file");
    if (options.watch)
        return runDiagWatch(session, options);
    if (options.intervalSeconds || options.count || !options.csvFile.empty())
        return badArguments("--interval, --count and --csv go with --watch");
    Report report;
    if (!session.start())
        return printReport(session, options, report, 1);
    App& app = session.app();
    if (options.user && !session.readAndLogIn())
        return printReport(session, options, report, 1);
    // Each check stands alone, so a failed one does not keep the others from running.
    bool ok = BitBtnTestClick(app);
    ok = BitBtnReadBalanceClick(app) && ok;
    ok = BitBtnReadErrorClick(app) && ok;
    addControls(report.section({}), diagnosticsPageControls(app.main));
    return printReport(session, options, report, ok ? 0 : 1);
}

}  // namespace zelar::cli
