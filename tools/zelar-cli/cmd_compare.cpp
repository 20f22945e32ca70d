#include <iostream>
#include <optional>

#include "app/service/settings_file_page.h"
#include "app/shell/login.h"
#include "commands.h"
#include "file_checks.h"
#include "files/file_io.h"
#include "files/settings_compare.h"

namespace zelar::cli {

namespace {

// Exit status of a comparison that could not be made: a bad file or a failed read.
constexpr int kNotCompared = 2;
// Firmware before 2.01 answers only the identification, so its settings are not known.
constexpr double kFirstFullReadVersion = 201;

std::optional<SettingsFileContent> loadFile(const std::string& path) {
    if (!inputFileReady(path))
        return std::nullopt;
    const auto bytes = readFileUpTo(path, kSettingsFileLimit);
    SettingsFileContent content;
    if (!bytes || bytes->size() > kSettingsFileLimit || !parseSettingsFile(*bytes, content)) {
        std::cerr << "zelar-cli: '" << path << "' is not a settings file\n";
        return std::nullopt;
    }
    return content;
}

// Reads the modem on the port selected in the port list, and logs in when asked.
std::optional<SettingsFileContent> readModem(CliSession& session, const CliOptions& options,
                                             const std::string& port) {
    App& app = session.app();
    selectItemText(app.main.ComboBox1, port);
    // A port that cannot be opened would leave the flag of an earlier read standing.
    app.settingsRead = false;
    if (!readAndLogIn(app, options.user, options.password))
        return std::nullopt;
    const double version = app.image.firmwareVersion;
    if (version != 0 && version < kFirstFullReadVersion) {
        std::cerr << "zelar-cli: " << port << ": the firmware gives no settings to compare\n";
        return std::nullopt;
    }
    return settingsFileContent(app);
}

int printDifferences(const SettingsFileContent& first, const SettingsFileContent& second,
                     const std::string& firstName, const std::string& secondName) {
    const auto differences = compareSettings(first, second);
    for (const SettingsDifference& difference : differences)
        std::cout << differenceLine(difference, firstName, secondName) << '\n';
    return differences.empty() ? 0 : 1;
}

}  // namespace

int runVerify(CliSession& session, const CliOptions& options) {
    if (options.port.empty())
        return badArguments("verify needs --port COMn");
    if (options.files.size() != 1)
        return badArguments("verify needs one FILE.md2");
    const auto file = loadFile(options.files.front());
    if (!file || !session.start())
        return kNotCompared;
    session.showProgress();
    const auto modem = readModem(session, options, options.port);
    if (!modem)
        return kNotCompared;
    return printDifferences(*modem, *file, "modem", "file");
}

int runDiff(CliSession& session, const CliOptions& options) {
    if (options.files.size() != 2)
        return badArguments("diff needs two settings files or ports");
    if (!options.port.empty())
        return badArguments("diff takes its ports as A and B, not --port");
    // Every file is checked before a port is opened.
    std::optional<SettingsFileContent> sides[2];
    for (int i = 0; i < 2; ++i) {
        if (isPortName(options.files[i]))
            continue;
        sides[i] = loadFile(options.files[i]);
        if (!sides[i])
            return kNotCompared;
    }
    bool started = false;
    for (int i = 0; i < 2; ++i) {
        if (sides[i])
            continue;
        if (!started && !session.start())
            return kNotCompared;
        if (!started)
            session.showProgress();
        started = true;
        sides[i] = readModem(session, options, options.files[i]);
        if (!sides[i])
            return kNotCompared;
    }
    return printDifferences(*sides[0], *sides[1], options.files[0], options.files[1]);
}

}  // namespace zelar::cli
