#include "sim_options.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cstdlib>
#include <functional>
#include <map>

#include "sim/fault_plan.h"

namespace zelar::simtool {

namespace {

// Decimal, or hexadecimal after "0x"; no sign. (CLI11's own integers read a leading 0 as octal.)
std::optional<long long> wholeNumber(const std::string& text, long long min, long long max) {
    if (text.empty() || text[0] == '-' || text[0] == '+' || text[0] == ' ')
        return std::nullopt;
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    char* end = nullptr;
    const long long value = std::strtoll(text.c_str() + (hex ? 2 : 0), &end, hex ? 16 : 10);
    if (*end != '\0' || value < min || value > max)
        return std::nullopt;
    return value;
}

bool allDigits(const std::string& text, std::size_t count) {
    return text.size() == count && text.find_first_not_of("0123456789") == std::string::npos;
}

// "\r", "\n", "\t", "\\" and "\xNN" in a text given on the command line.
std::optional<std::string> unescape(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out += text[i];
            continue;
        }
        if (++i == text.size())
            return std::nullopt;
        const char c = text[i];
        if (c == 'x') {
            const auto value = i + 2 < text.size()
                                   ? wholeNumber("0x" + text.substr(i + 1, 2), 0, 255)
                                   : std::nullopt;
            if (!value)
                return std::nullopt;
            out += static_cast<char>(*value);
            i += 2;
            continue;
        }
        const std::string from = "rnt\\", to = "\r\n\t\\";
        const auto at = from.find(c);
        if (at == std::string::npos)
            return std::nullopt;
        out += to[at];
    }
    return out;
}

// What each option's value is called in the help text.
std::string placeholder(const std::string& option) {
    static const std::map<std::string, std::string> names = {
        {"--com", "N"},
        {"--ports-dir", "DIR"},
        {"--state", "FILE"},
        {"--firmware", "NNNN"},
        {"--boot-loader", "NNN"},
        {"--balance", "X"},
        {"--current-sim", "N"},
        {"--sim-status", "N"},
        {"--fault-flags", "N"},
        {"--signal", "N"},
        {"--signal-levels", "N,N,..."},
        {"--signal-walk", "STEP"},
        {"--command-us", "US"},
        {"--flash-us", "US"},
        {"--block-us", "US"},
        {"--restart-ms", "MS"},
        {"--boot-window-ms", "MS"},
        {"--stop-after", "N"},
        {"--hang-up-after", "N"},
        {"--back-after-ms", "MS"},
        {"--power-cut-after", "N"},
        {"--power-cut-ms", "MS"},
        {"--split-pieces", "N"},
        {"--split-gap-ms", "MS"},
        {"--stray", "TEXT"},
        {"--late-ms", "MS"},
        {"--corrupt-count", "N"},
        {"--corrupt-char", "C"},
        {"--piece-bytes", "N"},
        {"--piece-gap-ms", "MIN[-MAX]"},
        {"--late-within-ms", "MS"},
        {"--fault", "KIND[:NN[@K]]"},
        {"--boot-fault", "KIND"},
        {"--boot-noise", "TEXT"},
    };
    const auto it = names.find(option);
    return it == names.end() ? std::string("VALUE") : it->second;
}

constexpr long long kBig = 3'600'000'000LL;

// An option whose value `accept` takes, or refuses (false) with "bad value for NAME: VALUE".
CLI::Option* addValue(CLI::App& app, const std::string& name, const std::string& help,
                      std::function<bool(const std::string&)> accept) {
    return app
        .add_option_function<std::string>(
            name,
            [name, accept = std::move(accept)](const std::string& value) {
                if (!accept(value))
                    throw CLI::ValidationError("bad value for " + name + ": " + value);
            },
            help)
        ->type_name(placeholder(name));
}

template <typename T>
CLI::Option* addNumber(CLI::App& app, const std::string& name, const std::string& help, T& target,
                       long long min, long long max, long long scale = 1) {
    return addValue(app, name, help, [&target, min, max, scale](const std::string& v) {
        const auto n = wholeNumber(v, min, max);
        if (n)
            target = static_cast<T>(*n * scale);
        return n.has_value();
    });
}

// Adds a repeatable option; each value goes through `accept`.
void addEach(CLI::App& app, const std::string& name, const std::string& help,
             std::function<bool(const std::string&)> accept) {
    app.add_option_function<std::vector<std::string>>(
           name,
           [name, accept = std::move(accept)](const std::vector<std::string>& values) {
               for (const auto& value : values)
                   if (!accept(value))
                       throw CLI::ValidationError("bad value for " + name + ": " + value);
           },
           help)
        ->type_name(placeholder(name))
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
}

void addPortOptions(CLI::App& app, SimOptions& o) {
    const std::string group = "Port";
    addValue(app, "--com",
             "register as COM<N> (1-255); default: the first free number from 200 down",
             [&o](const std::string& v) {
                 const auto n = wholeNumber(v, 1, 255);
                 if (n)
                     o.comNumber = static_cast<int>(*n);
                 return n.has_value();
             })
        ->group(group);
    addValue(app, "--ports-dir",
             "folder of the COM<n> links\n(default: $XDG_CONFIG_HOME/Kalvimo/Zelar2/ports, or "
             "~/.config/...)",
             [&o](const std::string& v) {
                 o.portsDir = v;
                 return !v.empty();
             })
        ->group(group);
    app.add_flag_callback(
           "--any-baud", [&o] { o.modem.strictBaud = false; },
           "answer at any line speed (default: the firmware hears only 115200 baud\nand the boot "
           "loader only 57600)")
        ->group(group);
}

// A comma-separated list of level bytes, none empty.
bool readSignalLevels(const std::string& text, std::vector<std::uint8_t>& levels) {
    levels.clear();
    std::size_t from = 0;
    while (from <= text.size()) {
        const std::size_t comma = std::min(text.find(',', from), text.size());
        const auto n = wholeNumber(text.substr(from, comma - from), 0, 255);
        if (!n)
            return false;
        levels.push_back(static_cast<std::uint8_t>(*n));
        from = comma + 1;
    }
    return true;
}

// The modem's memories and versions.
void addModemOptions(CLI::App& app, SimOptions& o) {
    const std::string group = "Modem";
    addValue(
        app, "--state",
        "keep settings memory, page buffer, flash and program memory in FILE:\nloaded at start "
        "(a missing file starts from the installed defaults),\nsaved after changes and at "
        "every exit by SIGINT or SIGTERM",
        [&o](const std::string& v) {
            o.stateFile = v;
            return !v.empty();
        })
        ->group(group);
    addValue(app, "--firmware",
             "controller firmware version digits (default 0205; 0150 and 0203 act as\nold firmware "
             "without the restart command)",
             [&o](const std::string& v) {
                 o.firmware = v;
                 return allDigits(v, 4);
             })
        ->group(group);
    addValue(app, "--boot-loader", "boot loader version digits (default 102, shown as 1.02)",
             [&o](const std::string& v) {
                 o.bootLoader = v;
                 return allDigits(v, 3);
             })
        ->group(group);
}

// What the modem reports in its test, balance and fault replies.
void addDiagnosticsOptions(CLI::App& app, SimOptions& o) {
    const std::string group = "Modem";
    auto& diag = o.modem.diagnostics;
    addValue(app, "--balance", "balance reported by AT+V24 (default 123.45)",
             [&diag](const std::string& v) {
                 char* end = nullptr;
                 const float value = std::strtof(v.c_str(), &end);
                 if (v.empty() || *end != '\0')
                     return false;
                 diag.balance = value;
                 return true;
             })
        ->group(group);
    addNumber(app, "--current-sim", "current SIM byte of AT+V24 (default 0, the main SIM)",
              diag.currentSim, 0, 255)
        ->group(group);
    addNumber(app, "--sim-status", "SIM status byte of AT+V24 (default 0, registered)",
              diag.simStatus, 0, 255)
        ->group(group);
    addNumber(app, "--fault-flags",
              "16-bit fault flags of AT+V25 (default 0; 0x prefix for hexadecimal)",
              diag.faultFlags, 0, 0xFFFF)
        ->group(group);
    addNumber(app, "--signal", "signal level byte of AT+V25 (default 17; above 31 means unknown)",
              diag.signalLevel, 0, 255)
        ->group(group);
    addValue(app, "--signal-levels",
             "AT+V25 reports these signal level bytes in turn, one a command, round and round",
             [&o](const std::string& v) { return readSignalLevels(v, o.modem.signal.levels); })
        ->group(group);
    addNumber(app, "--signal-walk",
              "each AT+V25 moves the signal level at random by at most STEP (1-31),\nwithin 0 "
              "to 31, from --signal",
              o.modem.signal.walkStep, 1, 31)
        ->group(group);
    app.add_flag_callback(
           "--pin-error", [&diag] { diag.pinError = true; }, "set the PIN error digit of AT+V25")
        ->group(group);
}

void addTimingOptions(CLI::App& app, SimOptions& o) {
    const std::string group = "Timing";
    auto& timing = o.modem.timing;
    addNumber(app, "--command-us", "work time of a memory command (default 1000)", timing.commandUs,
              0, kBig)
        ->group(group);
    addNumber(app, "--flash-us", "work time of a flash page store or load (default 15000)",
              timing.flashUs, 0, kBig)
        ->group(group);
    addNumber(app, "--block-us", "programming time of one boot loader block (default 5000)",
              timing.blockUs, 0, kBig)
        ->group(group);
    addNumber(app, "--restart-ms",
              "from the restart reply to the boot loader's \"!\" (default 500)", timing.restartUs,
              0, kBig / 1000, 1000)
        ->group(group);
    addNumber(app, "--boot-window-ms",
              "boot loader idle time before the firmware starts again (default 3000)",
              timing.bootWindowUs, 0, kBig / 1000, 1000)
        ->group(group);
}

const char* const kFaultHelp =
    "make replies misbehave; KIND[:NN[@K]]: NN limits it to AT+V<NN>, @K to the\n"
    "K-th such command. KIND is one of\n"
    "  silent        the command is lost: not carried out, no reply\n"
    "  no-ok         carried out, the reply lacks its final \"OK\" CR LF\n"
    "  split         the reply comes in pieces with pauses between them\n"
    "  stray-before  unrelated bytes come before the reply\n"
    "  stray-after   unrelated bytes come after the reply\n"
    "  late          the reply starts only after a long pause\n"
    "  corrupt       payload characters are replaced by a non-hex character\n"
    "  alter         a write (AT+V16, AT+V18) is answered OK, then its first\n"
    "                stored byte changes, as in a worn memory cell\n"
    "  pieces        the reply comes a few bytes at a time with short pauses,\n"
    "                as a USB serial adapter passes it on\n"
    "  late-within   the reply starts late, but inside the program's wait";

const char* const kBootFaultHelp =
    "no-announce        the boot loader never sends \"!\"\n"
    "double-announce    it sends \"!!\" instead\n"
    "double-ack[:PAGE]  acknowledge blocks (or block PAGE) twice\n"
    "no-ack[:PAGE]      acknowledge blocks (or block PAGE) not at all\n"
    "noise[:MS]         send the --boot-noise bytes MS (default 50) before the \"!\"\n"
    "                   (0: in one burst with it)\n"
    "vanish             hang up where the \"!\" would go out (once per run)";

const char* const kFaultGroup = "Faults (--fault and --boot-fault may be given several times)";

// Which faults happen and when.
void addFaultRules(CLI::App& app, SimOptions& o) {
    const std::string group = kFaultGroup;
    auto& faults = o.modem.faults;
    addEach(app, "--fault", kFaultHelp, [&faults](const std::string& v) {
        const auto rule = sim::parseFaultRule(v);
        if (rule)
            faults.rules.push_back(*rule);
        return rule.has_value();
    });
    addEach(app, "--boot-fault", kBootFaultHelp, [&faults](const std::string& v) {
        const auto rule = sim::parseBootFaultRule(v);
        if (rule)
            faults.bootRules.push_back(*rule);
        return rule.has_value();
    });
    app.get_option("--fault")->group(group);
    app.get_option("--boot-fault")->group(group);
    addNumber(app, "--stop-after", "answer nothing after N commands, until the next restart",
              faults.stopAfterCommands, 0, 1'000'000'000)
        ->group(group);
    addNumber(app, "--hang-up-after",
              "after N command lines and boot loader blocks (counted together from\nthe start), "
              "drop the next one and hang up, as a pulled cable does:\nthe pty closes and the COM "
              "link goes; once per run",
              faults.hangUpAfter, 0, 1'000'000'000)
        ->group(group);
    addNumber(app, "--back-after-ms",
              "then come back on a new pty under the same COM number (default 1000)", o.backAfterMs,
              0, 3'600'000)
        ->group(group);
    addNumber(app, "--power-cut-after",
              "after N command lines (counted from the start) the power goes, once:\nnothing is "
              "heard or answered, then the firmware runs again with an\nempty page buffer, "
              "settings memory and flash kept",
              faults.powerCutAfter, 1, 1'000'000'000)
        ->group(group);
    addNumber(app, "--power-cut-ms", "how long the power stays off (default 3000)",
              faults.powerCutMs, 0, 3'600'000)
        ->group(group);
    addNumber(app, "--split-pieces", "pieces of a split reply (default 2)", faults.splitPieces, 1,
              1000)
        ->group(group);
    addNumber(app, "--split-gap-ms", "pause between pieces (default 150)", faults.splitGapUs, 0,
              kBig / 1000, 1000)
        ->group(group);
}

// What a fault's reply looks like: its bytes, pieces, pauses and corruption.
void addFaultShapes(CLI::App& app, sim::FaultPlan& faults) {
    const std::string group = kFaultGroup;
    addValue(app, "--stray",
             "stray bytes, with \\r \\n \\t \\\\ \\xNN escapes (default \"\\r\\nRING\\r\\n\")",
             [&faults](const std::string& v) {
                 const auto text = unescape(v);
                 if (text)
                     faults.strayBytes = *text;
                 return text.has_value() && !text->empty();
             })
        ->group(group);
    addValue(app, "--boot-noise",
             "bytes of the noise boot fault, escaped as --stray (default \"\\x00\")",
             [&faults](const std::string& v) {
                 const auto text = unescape(v);
                 if (text)
                     faults.bootNoise = *text;
                 return text.has_value() && !text->empty();
             })
        ->group(group);
    addNumber(app, "--late-ms", "pause before a late reply (default 6000)", faults.lateUs, 0,
              kBig / 1000, 1000)
        ->group(group);
    addNumber(app, "--piece-bytes", "bytes in each piece of a reply in pieces (default 8)",
              faults.pieceBytes, 1, 100000)
        ->group(group);
    addValue(app, "--piece-gap-ms",
             "pause between pieces, fixed or drawn from MIN to MAX (default 1-16)",
             [&faults](const std::string& v) {
                 const auto dash = v.find('-');
                 const auto min = wholeNumber(v.substr(0, dash), 0, kBig / 1000);
                 const auto max = dash == std::string::npos
                                      ? min
                                      : wholeNumber(v.substr(dash + 1), 0, kBig / 1000);
                 if (!min || !max || *max < *min)
                     return false;
                 faults.pieceGapMinUs = *min * 1000;
                 faults.pieceGapMaxUs = *max * 1000;
                 return true;
             })
        ->group(group);
    addNumber(app, "--late-within-ms", "pause before a late-within reply (default 4000)",
              faults.lateWithinUs, 0, kBig / 1000, 1000)
        ->group(group);
    addNumber(app, "--corrupt-count", "payload characters replaced (default 1)",
              faults.corruptCount, 0, 100000)
        ->group(group);
    addValue(app, "--corrupt-char", "their replacement (default G)",
             [&faults](const std::string& v) {
                 if (v.size() == 1)
                     faults.corruptWith = v[0];
                 return v.size() == 1;
             })
        ->group(group);
}

const char* const kDescription =
    "Runs a simulated Zelar-2 GSM modem on a pseudo-terminal and registers it as a COM port for\n"
    "zelar-config. Prints one line \"COM<n> <device>\" (for example \"COM200 /dev/pts/5\") once "
    "the\nport is ready, then runs until SIGINT or SIGTERM, which remove the COM link and exit "
    "with 0.\nBeside the link, COM<n>.owner names the simulator's process; at start, zelar-sim "
    "removes the\nlinks whose simulator has gone without removing them (killed, crashed).\n"
    "SIGUSR1 switches the modem off and on (its boot loader then runs, as after AT+V39).";

}  // namespace

std::filesystem::path defaultPortsDir() {
    std::filesystem::path base;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && *xdg != '\0')
        base = xdg;
    else if (const char* home = std::getenv("HOME"); home != nullptr)
        base = std::filesystem::path(home) / ".config";
    else
        base = ".config";
    return base / "Kalvimo" / "Zelar2" / "ports";
}

ParsedOptions parseOptions(const std::vector<std::string>& args) {
    SimOptions o;
    o.portsDir = defaultPortsDir();
    CLI::App app{kDescription, "zelar-sim"};
    app.option_defaults()
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast)
        ->disable_flag_override();
    app.get_formatter()->column_width(25);
    addPortOptions(app, o);
    addModemOptions(app, o);
    addDiagnosticsOptions(app, o);
    addTimingOptions(app, o);
    addFaultRules(app, o);
    addFaultShapes(app, o.modem.faults);
    app.add_flag_callback(
           "--log", [&o] { o.log = true; },
           "log every command, reply and boot loader event to stderr")
        ->group("Other");

    std::vector<std::string> reversed(args.rbegin(), args.rend());  // CLI11 takes them last first
    try {
        app.parse(reversed);
    } catch (const CLI::CallForHelp&) {
        return {std::nullopt, app.help(), {}};
    } catch (const CLI::ParseError& e) {
        return {std::nullopt, {}, e.what()};
    }
    return {std::move(o), {}, {}};
}

}  // namespace zelar::simtool
