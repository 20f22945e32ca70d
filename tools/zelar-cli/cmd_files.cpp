#include <iostream>

#include "app/service/settings_file_page.h"
#include "commands.h"
#include "file_checks.h"

namespace zelar::cli {

namespace {

// Reads and logs in as the window's user would, then presses the service window's button with
// FILE as the dialog's answer. 0 only when the handler reports `success`.
int runSettingsFile(CliSession& session, const CliOptions& options, const std::string& name,
                    Button TformSetup::*button, SettingsFileResult (*handler)(App&),
                    SettingsFileResult success, bool (*fileReady)(const std::string&)) {
    if (options.port.empty() || !options.user)
        return badArguments(name + " needs --port COMn --user N --password XXXX");
    if (options.files.size() != 1)
        return badArguments(name + " needs one FILE.md2");
    if (!fileReady(options.files.front()) || !session.startAndLogIn())
        return 1;
    App& app = session.app();
    if (!(app.setup.*button).enabled) {
        std::cerr << "zelar-cli: settings files need a login as \"Мастер\" or \"Хозяин\"\n";
        return 1;
    }
    session.dialogs().queueFile(options.files.front());
    return handler(app) == success ? 0 : 1;
}

}  // namespace

int runBackup(CliSession& session, const CliOptions& options) {
    return runSettingsFile(session, options, "backup", &TformSetup::BtnSavePar, BtnSaveParClick,
                           SettingsFileResult::Saved, outputFileReady);
}

int runRestore(CliSession& session, const CliOptions& options) {
    return runSettingsFile(session, options, "restore", &TformSetup::BtnLoadPar, BtnLoadParClick,
                           SettingsFileResult::Written, inputFileReady);
}

}  // namespace zelar::cli
