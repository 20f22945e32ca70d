#include <iostream>

#include "app/core/handler_guard.h"
#include "app/service/dictionary_page.h"
#include "commands.h"
#include "file_checks.h"

namespace zelar::cli {

namespace {

// Reads and logs in as the window's user would before the service window's buttons work.
int prepare(CliSession& session, const CliOptions& options, const Button& button, const char* verb,
            bool (*fileReady)(const std::string&)) {
    if (options.port.empty() || options.files.size() != 1)
        return badArguments(std::string(verb) + " needs --port COMn and one FILE");
    session.dialogs().setRetries(options.retries.value_or(0), session.pump(), options.retryDelayMs);
    if (!fileReady(options.files.front()))
        return 2;
    if (!session.startAndLogIn())
        return 1;
    if (!button.enabled) {
        std::cerr << "zelar-cli: \"" << button.caption
                  << "\" is disabled until a login: give --user and --password\n";
        return 1;
    }
    session.dialogs().queueFile(options.files.front());
    return 0;
}

}  // namespace

int runDictUpload(CliSession& session, const CliOptions& options) {
    App& app = session.app();
    if (const int status =
            prepare(session, options, app.setup.btnWriteDict, "dict-upload", inputFileReady))
        return status;
    bool done = false;
    runHandler(app, [&] { done = btnWriteDictClick(app); });
    return done ? 0 : 1;
}

int runDictDownload(CliSession& session, const CliOptions& options) {
    App& app = session.app();
    if (const int status =
            prepare(session, options, app.setup.BtnReadDict, "dict-download", outputFileReady))
        return status;
    bool done = false;
    runHandler(app, [&] { done = BtnReadDictClick(app); });
    return done ? 0 : 1;
}

}  // namespace zelar::cli
