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
    "  zelar-cli script [--port COMn] [--user N --password XXXX] [--yes] FILE|-\n"
    "      Runs the actions of FILE (or stdin for -) on the window's controls, without a window,\n"
    "      as a person at the window would. With --port the port is selected first; with --user\n"
    "      and --password the modem is read and user N logged in first, as for read. One action\n"
    "      a line; blank lines and lines starting with # are skipped; an argument holding blanks\n"
    "      is written in double quotes (\\\" and \\\\ inside them stand for \" and \\):\n"
    "        port COMn                  selects the port\n"
    "        select CONTROL ITEM        picks a list item, a tree node or a tab of PageControl1\n"
    "                                   by its text (trailing blanks ignored), running its rule\n"
    "        set CONTROL TEXT           types TEXT into the emptied field (\"\" leaves it empty):\n"
    "                                   its key filter and length limit apply; then leaving the\n"
    "                                   field runs its rule\n"
    "        check CONTROL 0|1          clicks a check box or radio button when its state\n"
    "                                   differs; a radio button is unchecked by checking another\n"
    "        click CONTROL              presses a button\n"
    "        key CONTROL Enter          presses Enter in a field\n"
    "        answer Yes|No|OK|Cancel|Retry  answers the next question\n"
    "        file PATH                  the name for the next file dialog (\"\" cancels it)\n"
    "        wait MS                    lets MS milliseconds pass with events processed\n"
    "        dump [CONTROL...]          prints 'ControlName: value' lines as read does (every\n"
    "                                   control of the main window when no name is given)\n"
    "        expect CONTROL VALUE       stops with status 1 when the control's value differs\n"
    "      The whole script is checked before anything runs. A control can be used only while\n"
    "      it is enabled, shown, on the page on view and in the window that has the input.\n"
    "      --yes      answers questions nothing was queued for with yes (or OK)\n"
    "  zelar-cli --help\n"
    "      This text.\n"
    "\n"
    "Progress goes to stderr, and every message box as '[caption] text'.\n"
    "Exit status: 0 when the read (and the login, when asked) succeeded, 1 otherwise,\n"
    "2 for bad arguments.\n"
    "For script: 0 when every line ran; 1 when the read or login failed or an expect did not\n"
    "hold; 2 for bad arguments, a bad line or an action a person at the window could not do,\n"
    "with 'line N: reason' on stderr.\n";

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
    if (command == "read")
        options.command = Command::Read;
    else if (command == "script")
        options.command = Command::Script;
    else
        return fail("unknown command '" + command + "'");
    const bool script = options.command == Command::Script;

    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto value = [&]() -> std::optional<std::string> {
            if (i + 1 >= args.size())
                return std::nullopt;
            return args[++i];
        };
        if (script && (arg == "-" || arg.empty() || arg[0] != '-')) {
            if (!options.scriptPath.empty())
                return fail("script takes one file");
            options.scriptPath = arg;
        } else if (arg == "--state" && !script) {
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
    if (script && options.scriptPath.empty())
        return fail("script needs a file, or - for stdin");
    if ((!script || !options.port.empty()) &&
        (options.port.size() < 4 || options.port.compare(0, 3, "COM") != 0 ||
         !parseDecimal(std::string_view(options.port).substr(3)))) {
        return fail(command + " needs --port COMn");
    }
    if (options.user.has_value() != !options.password.empty()) {
        return fail("--user and --password go together");
    }
    return {options, {}};
}

}  // namespace zelar::cli
