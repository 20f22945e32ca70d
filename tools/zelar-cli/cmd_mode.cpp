#include <iostream>

#include "app/service/service_window.h"
#include "commands.h"

namespace zelar::cli {

int runMode(CliSession& session, const CliOptions& options) {
    if (options.port.empty())
        return badArguments("mode needs --port COMn");
    if (options.files.size() != 1 ||
        (options.files[0] != "terminal" && options.files[0] != "device"))
        return badArguments("mode takes one of: terminal, device");
    if (!session.startAndLogIn())
        return 1;
    App& app = session.app();
    ComboBox& box = app.setup.ComBoxWorkAs;
    // The list is offered only where the window offers it.
    if (!box.visible || !box.enabled) {
        std::cerr << "zelar-cli: the operating mode is offered only after a login as Мастер or "
                     "Хозяин on a modem with firmware 205 or later\n";
        return 1;
    }
    FormSetupShow(app);
    selectItem(box, options.files[0] == "terminal" ? 1 : 0);
    return ComBoxWorkAsChange(app) ? 0 : 1;
}

}  // namespace zelar::cli
