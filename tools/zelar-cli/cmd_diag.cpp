#include <iostream>

#include "app/diagnostics/diagnostics_page.h"
#include "commands.h"
#include "forms/control_registry.h"

namespace zelar::cli {

int runDiag(CliSession& session, const CliOptions& options) {
    if (options.port.empty())
        return badArguments("diag needs --port COMn");
    if (!options.files.empty())
        return badArguments("diag takes no file");
    if (!session.start())
        return 1;
    App& app = session.app();
    if (options.user && !session.readAndLogIn())
        return 1;
    // Each check stands alone, so a failed one does not keep the others from running.
    bool ok = BitBtnTestClick(app);
    ok = BitBtnReadBalanceClick(app) && ok;
    ok = BitBtnReadErrorClick(app) && ok;
    for (const NamedControl& c : diagnosticsPageControls(app.main))
        std::cout << c.name << ": " << controlValue(c.control) << '\n';
    std::cout.flush();
    return ok ? 0 : 1;
}

}  // namespace zelar::cli
