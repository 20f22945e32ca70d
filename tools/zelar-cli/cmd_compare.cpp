#include <iostream>
#include <optional>

#include "app/service/settings_file_page.h"
#include "app/shell/login.h"
#include "commands.h"
#include "file_checks.h"
#include "files/file_io.h"
#include "files/settings_compare.h"
#include "report_output.h"

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
        refuseAsNoSettingsFile(path);
        return std::nullopt;
    }
    return content;
}

// The modem's side shows every password and PIN it holds: only for the logins that may save
// them to a settings file.
constexpr const char* kRightsNeeded =
    " needs a login as \"Мастер\" or \"Хозяин\" (--user N --password XXXX) to read a modem: "
    "its settings hold its passwords";

bool maySaveSettings(const LoginState& login) {
    return login.loggedIn && (login.role == kRoleMaster || login.role == kRoleOwner);
}

// Reads the modem on the port selected in the port list and logs in.
std::optional<SettingsFileContent> readModem(CliSession& session, const CliOptions& options,
                                             const std::string& port) {
    App& app = session.app();
    session.selectPort(port);
    // A port that cannot be opened would leave the flag of an earlier read standing.
    app.settingsRead = false;
    if (!readAndLogIn(app, options.user, options.password))
        return std::nullopt;
    if (!maySaveSettings(app.login)) {
        std::cerr << "zelar-cli: " << port << ": " << options.command << kRightsNeeded << '\n';
        return std::nullopt;
    }
    const double version = app.image.firmwareVersion;
    if (version != 0 && version < kFirstFullReadVersion) {
        std::cerr << "zelar-cli: " << port << ": the firmware gives no settings to compare\n";
        return std::nullopt;
    }
    return settingsFileContent(app);
}

// The comparison's report; its differences stay empty until both sides are known.
Report comparison(std::string firstName, std::string secondName) {
    Report report;
    report.firstName = std::move(firstName);
    report.secondName = std::move(secondName);
    return report;
}

int printDifferences(CliSession& session, const CliOptions& options, Report& report,
                     const SettingsFileContent& first, const SettingsFileContent& second) {
    report.differences = compareSettings(
        first, second,
        options.asRestored ? CompareScope::WhatLoadWrites : CompareScope::Everything);
    return printReport(session, options, report, report.differences.empty() ? 0 : 1);
}

}  // namespace

int runVerify(CliSession& session, const CliOptions& options) {
    if (options.port.empty())
        return badArguments("verify needs --port COMn");
    if (options.files.size() != 1)
        return badArguments("verify needs one FILE.md2");
    if (!options.user)
        return badArguments(std::string("verify") + kRightsNeeded);
    Report report = comparison("modem", "file");
    const auto file = loadFile(options.files.front());
    if (!file || !session.start())
        return printReport(session, options, report, kNotCompared);
    session.showProgress();
    const auto modem = readModem(session, options, options.port);
    if (!modem)
        return printReport(session, options, report, kNotCompared);
    archiveVisit(session.app(), archive::VisitOperation::Verify, options.files.front());
    return printDifferences(session, options, report, *modem, *file);
}

int runDiff(CliSession& session, const CliOptions& options) {
    if (options.files.size() != 2)
        return badArguments("diff needs two settings files or ports");
    if (!options.port.empty())
        return badArguments("diff takes its ports as A and B, not --port");
    if (!options.user && (isPortName(options.files[0]) || isPortName(options.files[1])))
        return badArguments(std::string("diff") + kRightsNeeded);
    if (options.asRestored)
        return badArguments("--as-restored is verify's");
    Report report = comparison(options.files[0], options.files[1]);
    // Every file is checked before a port is opened.
    std::optional<SettingsFileContent> sides[2];
    for (int i = 0; i < 2; ++i) {
        if (isPortName(options.files[i]))
            continue;
        sides[i] = loadFile(options.files[i]);
        if (!sides[i])
            return printReport(session, options, report, kNotCompared);
    }
    bool started = false;
    for (int i = 0; i < 2; ++i) {
        if (sides[i])
            continue;
        if (!started && !session.start())
            return printReport(session, options, report, kNotCompared);
        if (!started)
            session.showProgress();
        started = true;
        sides[i] = readModem(session, options, options.files[i]);
        if (!sides[i])
            return printReport(session, options, report, kNotCompared);
    }
    return printDifferences(session, options, report, *sides[0], *sides[1]);
}

}  // namespace zelar::cli
