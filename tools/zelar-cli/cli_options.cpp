#include "cli_options.h"

#include <CLI/CLI.hpp>
#include <functional>

#include "command_options.h"
#include "commands.h"
#include "text/hex.h"

namespace zelar::cli {

namespace {

// An option whose value `accept` takes; a refused value fails the parse with `refusal`.
void addValue(CLI::App& verb, const std::string& name, const std::string& placeholder,
              const std::string& help, const std::string& refusal,
              std::function<bool(const std::string&)> accept) {
    verb.add_option_function<std::string>(
            name,
            [refusal, accept = std::move(accept)](const std::string& value) {
                if (!accept(value))
                    throw CLI::ValidationError(refusal);
            },
            help)
        ->type_name(placeholder);
}

// A whole number from `low` to `high` into `target`.
std::function<bool(const std::string&)> numberInto(std::optional<int>& target, int low, int high) {
    return [&target, low, high](const std::string& text) {
        const auto n = parseDecimal(text);
        if (!n || *n < low || *n > high)
            return false;
        target = n;
        return true;
    };
}

// A file name into `target`.
std::function<bool(const std::string&)> fileInto(std::string& target) {
    return [&target](const std::string& text) {
        target = text;
        return !text.empty();
    };
}

// Says what is wrong with a --port value, not only that one is wanted.
std::string portRefusal(const std::string& value) {
    if (value.empty())
        return "--port needs a port name such as COM3";
    return "--port '" + value + "' is no port name: COM and a number, such as COM3";
}

// An option that takes a value and was given more than once, which would leave the user
// unsure which one counts (two ports, two users); empty when there is none.
std::string repeatedOption(const CLI::App& verb) {
    for (const CLI::Option* option : verb.get_options()) {
        if (option->nonpositional() && option->get_type_size() != 0 && option->count() > 1)
            return option->get_name() + " is given more than once";
    }
    return {};
}

// An option given that the command would pass over (read --template X); empty when there is
// none.
std::string optionNotTaken(const CLI::App& verb, const std::string& command) {
    for (const CLI::Option* option : verb.get_options()) {
        if (option->nonpositional() && option->count() > 0 &&
            !commandTakes(command, option->get_name()))
            return command + " does not take " + option->get_name();
    }
    return {};
}

void addProvisionOptions(CLI::App& verb, CliOptions& o) {
    addValue(verb, "--ports", "LIST",
             "the ports to provision, names and ranges such as COM33-COM40,COM45 (provision)",
             "--ports needs port names such as COM33-COM40,COM45", fileInto(o.ports));
    addValue(verb, "--template", "FILE.md2",
             "the settings file restored on every modem, and compared with --verify (provision)",
             "--template needs a file", fileInto(o.templateFile));
    addValue(verb, "--script", "FILE",
             "the script run on every modem, with ${PORT} and the values' ${COLUMN} put in\n"
             "(provision)",
             "--script needs a file", fileInto(o.scriptFile));
    addValue(verb, "--values", "FILE.csv",
             "the script's values, one row a modem keyed by port or serial number (provision)",
             "--values needs a file", fileInto(o.valuesFile));
    addValue(verb, "--jobs", "N", "works at most N ports at once (provision; default: all)",
             "--jobs needs a count from 1 to 256", numberInto(o.jobs, 1, 256));
    addValue(verb, "--report", "FILE.csv", "writes one CSV row a modem into FILE.csv (provision)",
             "--report needs a file", fileInto(o.reportFile));
}

void addWatchOptions(CLI::App& verb, CliOptions& o) {
    verb.add_flag("--watch", o.watch,
                  "measures the signal level once a second until Ctrl+C or --count (diag)");
    addValue(verb, "--interval", "S", "seconds between two samples of --watch (1 to 3600; 1)",
             "--interval needs seconds from 1 to 3600", numberInto(o.intervalSeconds, 1, 3600));
    addValue(verb, "--count", "N", "ends --watch after N samples",
             "--count needs a count from 1 to 1000000", numberInto(o.count, 1, 1000000));
    addValue(verb, "--csv", "FILE.csv", "writes the samples of --watch into FILE.csv",
             "--csv needs a file", fileInto(o.csvFile));
}

void addReportOptions(CLI::App& verb, CliOptions& o) {
    addValue(verb, "--installer", "NAME", "the installer's name in the report's heading (report)",
             "--installer needs a name", fileInto(o.installer));
    addValue(verb, "--site", "TEXT", "the site in the report's heading (report)",
             "--site needs a text", fileInto(o.site));
    verb.add_flag("--with-secrets", o.withSecrets,
                  "shows passwords, PINs and PUKs in the report instead of **** (report)");
}

void addArchiveOptions(CLI::App& verb, CliOptions& o) {
    verb.add_flag("--archive", o.archive,
                  "records this visit in the default archive of modems (archive.sqlite beside\n"
                  "Modem.ini); on without it when the window's \"Вести архив модемов\" is checked");
    addValue(verb, "--archive-file", "FILE",
             "the archive of modems to record into, or for archive to work on",
             "--archive-file needs a file", fileInto(o.archiveFile));
    addValue(verb, "--at", "N", "the archive's entry N of the modem (archive export; the latest)",
             "--at needs an entry number from 1", numberInto(o.at, 1, 100000000));
    const auto text = [](std::optional<std::string>& target) {
        return [&target](const std::string& value) {
            target = value;
            return true;
        };
    };
    addValue(verb, "--name", "TEXT", "the site's name (archive site)", "", text(o.siteName));
    addValue(verb, "--address", "TEXT", "the site's address (archive site)", "",
             text(o.siteAddress));
    addValue(verb, "--note", "TEXT", "a note on the site (archive site)", "", text(o.siteNote));
}

// How a command words its output and how strictly it judges what it wrote.
void addOutputFlags(CLI::App& verb, CliOptions& o) {
    verb.add_flag("--state", o.state,
                  "adds ' [enabled]' or ' [disabled]', and ' [hidden]' where hidden (read)");
    verb.add_flag("--json", o.json,
                  "prints one JSON object on stdout instead of the lines, with \"ok\" and the\n"
                  "message boxes shown (read, diag, verify, diff, fw-info, script's dump)");
    verb.add_flag("--yes", o.yes,
                  "answers questions with yes (or OK); otherwise each takes its default answer:\n"
                  "no (or cancel)");
    verb.add_flag("--fast", o.fast,
                  "ends each wait as soon as a complete reply is in (the window's \"Быстрый "
                  "обмен\");\nthe usual wait stays the upper bound");
    verb.add_flag("--verify", o.verify,
                  "reads each write back and compares it byte by byte (the window's \"Проверять\n"
                  "запись\"; script, restore, defaults, mode, dict-upload); a difference fails\n"
                  "the command naming the field or the record. flash cannot verify: the boot\n"
                  "loader has no command to read the firmware back");
    verb.add_flag("--probe", o.probe,
                  "asks every port for the modem's identification, as \"Найти модем\" does\n"
                  "(ports)");
    verb.add_flag("--as-restored", o.asRestored,
                  "compares only what restoring the file writes: not the SIM auto-detection,\n"
                  "nor the access point of a SIM the file detects automatically (verify)");
}

// The modem's port, the login, the answers to failed exchanges, the waits and the trace.
void addSessionOptions(CLI::App& verb, CliOptions& o) {
    verb.add_option_function<std::string>(
            "--port",
            [&o](const std::string& v) {
                o.port = v;
                if (!isPortName(v))
                    throw CLI::ValidationError(portRefusal(v));
            },
            "the modem's port as the port list names it")
        ->type_name("COMn");
    verb.add_flag("--exact", o.exact,
                  "fails a script's set whose value the field would change, a character its\n"
                  "keys refuse, a control character, one past its length or one without a\n"
                  "Windows-1251 code, instead of typing what it takes (script; provision gives\n"
                  "it to its script step)");
    addValue(verb, "--file", "FILE.md2",
             "runs the script against a settings file as the window does with it open; the\n"
             "login is checked against the file's users (script; excludes --port)",
             "--file needs a file", fileInto(o.settingsFile));
    addValue(verb, "--user", "N", "logs in as user N (1 to 6), with --password",
             "--user needs a user number from 1 to 6", numberInto(o.user, 1, 6));
    addValue(verb, "--password", "XXXX", "the user's password", "--password needs a value",
             [&o](const std::string& v) {
                 o.password = v;
                 return true;
             });
    addValue(verb, "--retries", "N",
             "gives failed exchanges N Retry answers in all before Cancel (0 when not given)",
             "--retries needs a count", numberInto(o.retries, 0, 1000000));
    addValue(verb, "--retry-delay", "MS", "waits MS milliseconds before each Retry answer (1000)",
             "--retry-delay needs milliseconds", [&o](const std::string& v) {
                 std::optional<int> delay;
                 if (!numberInto(delay, 0, 3600000)(v))
                     return false;
                 o.retryDelayMs = *delay;
                 return true;
             });
    addValue(verb, "--wait", "S",
             "cancels the wait for the boot loader after S seconds (default 60; flash)",
             "--wait needs seconds", numberInto(o.waitSeconds, 0, 86400));
    addValue(verb, "--trace", "FILE",
             "adds every byte sent and received on the modem's link and the boot loader link\n"
             "to the end of FILE, with the time, in hexadecimal and as text",
             "--trace needs a file", [&o](const std::string& v) {
                 o.trace = v;
                 return !v.empty();
             });
}

// Every command takes every option and checks the ones it needs, so each verb gets them all.
void addOptions(CLI::App& verb, CliOptions& o) {
    addOutputFlags(verb, o);
    addSessionOptions(verb, o);
    addProvisionOptions(verb, o);
    addWatchOptions(verb, o);
    addReportOptions(verb, o);
    addArchiveOptions(verb, o);
    verb.add_option("files", o.files, "the command's file, or its other arguments")
        ->type_name("FILE");
}

}  // namespace

bool isPortNumber(std::string_view digits) {
    return !digits.empty() && digits.front() != '0' && parseDecimal(digits).has_value();
}

bool isPortName(const std::string& text) {
    return text.compare(0, 3, "COM") == 0 && isPortNumber(std::string_view(text).substr(3));
}

ParseResult parseCliOptions(const std::vector<std::string>& args) {
    if (args.empty())
        return {std::nullopt, "no command given", {}};
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help")
        return {std::nullopt, {}, usageText()};
    if (findCommand(args[0]) == nullptr)
        return {std::nullopt, "unknown command '" + args[0] + "'", {}};

    CliOptions options;
    options.command = args[0];
    CLI::App app{"", "zelar-cli"};
    app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    // CLI11 takes "/name" for an option on Windows; file names like /tmp/x.script (wine) and
    // values starting with a slash are arguments. The verbs inherit this.
    app.allow_windows_style_options(false);
    for (const CliCommand& command : cliCommands()) {
        CLI::App* verb = app.add_subcommand(std::string(command.name), std::string(command.usage));
        verb->option_defaults()
            ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast)
            ->disable_flag_override();
        addOptions(*verb, options);
    }
    // archive's own verb comes first and is taken here: the parser would take "diff" for the
    // command of that name.
    std::vector<std::string> parsed = args;
    std::optional<std::string> archiveVerb;
    if (options.command == "archive" && parsed.size() > 1 && !parsed[1].starts_with("-")) {
        archiveVerb = parsed[1];
        parsed.erase(parsed.begin() + 1);
    }
    std::vector<std::string> reversed(parsed.rbegin(),
                                      parsed.rend());  // CLI11 takes them last first
    try {
        app.parse(reversed);
    } catch (const CLI::CallForHelp&) {
        return {std::nullopt, {}, app.get_subcommand(options.command)->help()};
    } catch (const CLI::ParseError& e) {
        return {std::nullopt, e.what(), {}};
    }
    const CLI::App& verb = *app.get_subcommand(options.command);
    if (std::string repeated = repeatedOption(verb); !repeated.empty())
        return {std::nullopt, std::move(repeated), {}};
    if (std::string notTaken = optionNotTaken(verb, options.command); !notTaken.empty())
        return {std::nullopt, std::move(notTaken), {}};
    if (options.user.has_value() != !options.password.empty())
        return {std::nullopt, "--user and --password go together", {}};
    if (archiveVerb)
        options.files.insert(options.files.begin(), *archiveVerb);
    return {options, {}, {}};
}

}  // namespace zelar::cli
