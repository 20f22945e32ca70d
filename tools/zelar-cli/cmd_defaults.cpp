#include <iostream>

#include "app/service/service_window.h"
#include "commands.h"

namespace zelar::cli {

int runDefaults(CliSession& session, const CliOptions& options) {
    if (options.port.empty())
        return badArguments("defaults needs --port COMn");
    if (!options.files.empty())
        return badArguments("defaults takes no file");
    // The window's button asks nothing, so the command line asks for --yes before the modem hears
    // anything: every setting and every password is lost.
    if (!options.yes) {
        std::cerr << "zelar-cli: defaults replaces every setting and every user's password with "
                     "the factory values; give --yes to go ahead\n";
        return 2;
    }
    if (!session.startAndLogIn())
        return 1;
    App& app = session.app();
    FormSetupShow(app);
    // The share done, as the service window's label shows it.
    session.pump().setBeforePass([&app, shown = std::string()]() mutable {
        const std::string& text = app.setup.LabelCountUser.caption;
        if (text != shown && !text.empty())
            std::cerr << "progress " << text << std::endl;
        shown = text;
    });
    return ButtonSetDefaultClick(app) ? 0 : 1;
}

}  // namespace zelar::cli
