#include <QCoreApplication>

#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

#include "app/handler_guard.h"
#include "app/login.h"
#include "app/read_settings.h"
#include "app/script_runner.h"
#include "app/startup.h"
#include "cli_options.h"
#include "platform/memory_profile.h"
#include "settings_report.h"
#include "ui/config_paths.h"
#include "ui/qt_event_pump.h"
#include "ui/qt_serial_port.h"

using namespace zelar;

namespace {

// Prints the progress bar's moves to stderr, as the read goes.
void showProgress(ui::QtEventPump& pump, App& app) {
    pump.setBeforePass([&app, shown = -1]() mutable {
        const ProgressBar& bar = app.main.BSprogressBarLine1;
        if (bar.position != shown) {
            shown = bar.position;
            std::cerr << "progress " << bar.position << '/' << bar.max << std::endl;
        }
    });
}

std::optional<std::string> readScript(const std::string& path) {
    std::ostringstream text;
    if (path == "-") {
        text << std::cin.rdbuf();
        return text.str();
    }
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return std::nullopt;
    text << file.rdbuf();
    return text.str();
}

int runScript(int argc, char** argv, const cli::CliOptions& options) {
    const auto text = readScript(options.scriptPath);
    if (!text) {
        std::cerr << "zelar-cli: cannot read " << options.scriptPath << '\n';
        return 2;
    }
    const ParsedScript script = parseScript(*text);
    if (script.error) {
        std::cerr << "line " << script.error->line << ": " << script.error->message << '\n';
        return 2;
    }

    QCoreApplication application(argc, argv);
    const auto devices = ui::makeDeviceMap();
    ui::QtEventPump pump;
    ui::QtSerialPort port(*devices);
    ScriptDialogs dialogs(std::cerr, options.yes);
    App app{Services{port, pump, dialogs, *devices}};
    ScriptRunner runner(app, dialogs, std::cout, std::cerr);
    // Names are checked before the modem hears anything.
    if (const auto error = runner.checkNames(script.lines)) {
        std::cerr << "line " << error->line << ": " << error->message << '\n';
        return 2;
    }
    MemoryProfile profile;
    if (!FormShow(app, &profile))
        return 1;
    if (!options.port.empty())
        selectItemText(app.main.ComboBox1, options.port);
    showProgress(pump, app);
    if (options.user && !runner.logIn(*options.user, options.password))
        return 1;
    return runner.run(script.lines);
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    const cli::ParseResult parsed = cli::parseCliOptions(args);
    if (!parsed.options) {
        std::cerr << "zelar-cli: " << parsed.error << "\n\n" << cli::kUsage;
        return 2;
    }
    const cli::CliOptions& options = *parsed.options;
    if (options.command == cli::Command::Help) {
        std::cout << cli::kUsage;
        return 0;
    }

    if (options.command == cli::Command::Script)
        return runScript(argc, argv, options);

    QCoreApplication application(argc, argv);
    const auto devices = ui::makeDeviceMap();
    ui::QtEventPump pump;
    ui::QtSerialPort port(*devices);
    // Messages go to stderr; questions take the --yes answer or their default.
    ScriptDialogs dialogs(std::cerr, options.yes);
    App app{Services{port, pump, dialogs, *devices}};
    // The command line keeps no configuration of its own.
    MemoryProfile profile;
    if (!FormShow(app, &profile))
        return 1;

    if (options.command == cli::Command::Ports) {
        for (const std::string& item : app.main.ComboBox1.items)
            std::cout << item << '\n';
        return 0;
    }

    selectItemText(app.main.ComboBox1, options.port);
    showProgress(pump, app);
    runHandler(app, [&] { btnReadNastUserClick(app); });
    bool ok = app.settingsRead;
    if (ok && options.user) {
        selectItem(app.main.cbUser, *options.user - 1);
        app.main.EditPassword.text = options.password;
        runHandler(app, [&] { ButtonApplyPasswordClick(app); });
        ok = app.login.loggedIn;
    }
    // A failed read leaves only the blank form, which tells nothing.
    if (app.settingsRead)
        cli::printSettingsReport(std::cout, app, options.state);
    return ok ? 0 : 1;
}
