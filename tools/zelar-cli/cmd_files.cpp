#include <iostream>

#include "app/file_session/file_menu.h"
#include "app/service/settings_file_page.h"
#include "commands.h"
#include "file_checks.h"
#include "files/file_io.h"

namespace zelar::cli {

namespace {

constexpr const char* kCaption = "Модем";

// Reads and logs in as the window's user would, then presses the service window's button with
// FILE as the dialog's answer. 0 only when the handler reports `success`.
int runSettingsFile(CliSession& session, const CliOptions& options, const std::string& name,
                    Button TformSetup::*button, SettingsFileResult (*handler)(App&),
                    SettingsFileResult success,
                    bool (*fileReady)(CliSession&, const std::string&)) {
    if (options.port.empty() || !options.user)
        return badArguments(name + " needs --port COMn --user N --password XXXX");
    if (options.files.size() != 1)
        return badArguments(name + " needs one FILE.md2");
    // A file that will not do is a bad argument, found before the modem hears anything.
    if (!fileReady(session, options.files.front()))
        return 2;
    if (!session.startAndLogIn())
        return 1;
    App& app = session.app();
    if (!(app.setup.*button).enabled) {
        std::cerr << "zelar-cli: settings files need a login as \"Мастер\" or \"Хозяин\"\n";
        return 1;
    }
    session.dialogs().queueFile(options.files.front());
    return handler(app) == success ? 0 : 1;
}

bool backupFileReady(CliSession&, const std::string& path) {
    return outputFileReady(path);
}

// The file restore would load, judged as the load judges it, before the port is opened: the
// load's message and, for a value that must not be written, the line and why.
bool restoreFileReady(CliSession& session, const std::string& path) {
    if (!inputFileReady(path))
        return false;
    const auto bytes = readFileUpTo(path, kSettingsFileLimit);
    SettingsFileContent content;
    const std::optional<LoadRefusal> refusal =
        bytes ? takeFileForLoad(*bytes, content)
              : LoadRefusal{"Не могу открыть файл", MessageIcon::Error, {}};
    if (!refusal)
        return true;
    session.dialogs().messageBox(refusal->text, kCaption, refusal->icon, MessageButtons::Ok);
    if (!refusal->reason.empty())
        std::cerr << "zelar-cli: " << refusal->reason << '\n';
    return false;
}

// What the saved file will not give back: a text that a line cannot carry fails the backup
// (the file is written all the same); a value that restore refuses is only named.
int backupWarnings(const App& app, int status) {
    const SettingsFileContent content = settingsFileContent(app);
    for (const SettingsLineProblem& problem : lineBreakProblems(content)) {
        std::cerr << "zelar-cli: " << problemText(problem) << '\n';
        status = 1;
    }
    if (const auto problem = firstUnwritableValue(composeSettingsFile(content)))
        std::cerr << "zelar-cli: the file will not restore until this line is corrected: "
                  << problemText(*problem) << '\n';
    return status;
}

}  // namespace

int runBackup(CliSession& session, const CliOptions& options) {
    const int status = runSettingsFile(session, options, "backup", &TformSetup::BtnSavePar,
                                       BtnSaveParClick, SettingsFileResult::Saved, backupFileReady);
    return status == 0 ? backupWarnings(session.app(), status) : status;
}

int runNew(CliSession& session, const CliOptions& options) {
    if (options.files.size() != 1)
        return badArguments("new needs one FILE.md2");
    if (!options.port.empty() || options.user)
        return badArguments("new needs no modem: no --port, no --user");
    // The file was checked with every command's files, --yes for one that exists too.
    const std::string& path = options.files.front();
    const std::string failure =
        writeFileReplacing(path, composeSettingsFile(factorySettingsFile(session.app())));
    if (!failure.empty()) {
        std::cerr << "zelar-cli: " << failure << '\n';
        return 1;
    }
    return 0;
}

int runRestore(CliSession& session, const CliOptions& options) {
    return runSettingsFile(session, options, "restore", &TformSetup::BtnLoadPar, BtnLoadParClick,
                           SettingsFileResult::Written, restoreFileReady);
}

}  // namespace zelar::cli
