#include "cli_options.h"

#include "text/hex.h"

namespace zelar::cli {

const char* const kUsage =
    "Usage:\n"
    "  zelar-cli ports\n"
    "      Prints the serial ports as the port list of the window shows them, one a line.\n"
    "  zelar-cli read --port COMn [--user N --password XXXX] [--state] [--yes]\n"
    "      Reads the identification and the settings of the modem on COMn and, with --user and\n"
    "      --password, logs in as user N (1 to 6). When the read succeeded, prints to stdout\n"
    "      (also after a failed login) the sections\n"
    "      [identification], [status], [modem] and [user 1] to [user 6], one control a line as\n"
    "      'ControlName: value', the value as the window would show it (1 or 0 for check boxes\n"
    "      and radio buttons).\n"
    "      --state    adds ' [enabled]' or ' [disabled]', and ' [hidden]' where hidden\n"
    "      --yes      answers questions with yes (or OK); otherwise each takes its default\n"
    "                 answer: no (or cancel). Retry questions are always cancelled.\n"
    "  zelar-cli --help\n"
    "      This text.\n"
    "\n"
    "Progress goes to stderr, and every message box as '[caption] text'.\n"
    "Exit status: 0 when the read (and the login, when asked) succeeded, 1 otherwise,\n"
    "2 for bad arguments.\n";

namespace {

ParseResult fail(const std::string& error) {
    return {std::nullopt, error};
}

}  // namespace

ParseResult parseCliOptions(const std::vector<std::string>& args) {
    if (args.empty())
        return fail("no command given");
    CliOptions options;
    const std::string& command = args[0];
    if (command == "--help" || command == "-h" || command == "help") {
        return {options, {}};
    }
    if (command == "ports") {
        options.command = Command::Ports;
        if (args.size() > 1)
            return fail("'ports' takes no options");
        return {options, {}};
    }
    if (command != "read")
        return fail("unknown command '" + command + "'");
    options.command = Command::Read;

    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto value = [&]() -> std::optional<std::string> {
            if (i + 1 >= args.size())
                return std::nullopt;
            return args[++i];
        };
        if (arg == "--state") {
            options.state = true;
        } else if (arg == "--yes") {
            options.yes = true;
        } else if (arg == "--port") {
            const auto v = value();
            if (!v)
                return fail("--port needs a value such as COM3");
            options.port = *v;
        } else if (arg == "--user") {
            const auto v = value();
            const auto n = v ? parseDecimal(*v) : std::nullopt;
            if (!n || *n < 1 || *n > 6)
                return fail("--user needs a user number from 1 to 6");
            options.user = *n;
        } else if (arg == "--password") {
            const auto v = value();
            if (!v)
                return fail("--password needs a value");
            options.password = *v;
        } else {
            return fail("unknown option '" + arg + "'");
        }
    }
    if (options.port.size() < 4 || options.port.compare(0, 3, "COM") != 0 ||
        !parseDecimal(std::string_view(options.port).substr(3))) {
        return fail("read needs --port COMn");
    }
    if (options.user.has_value() != !options.password.empty()) {
        return fail("--user and --password go together");
    }
    return {options, {}};
}

}  // namespace zelar::cli
