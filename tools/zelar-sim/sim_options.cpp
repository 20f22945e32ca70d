#include "sim_options.h"

#include <cstdlib>
#include <functional>
#include <map>

#include "sim/fault_plan.h"

namespace zelar::simtool {

namespace {

std::optional<long long> integer(const std::string& text, long long min, long long max) {
    if (text.empty() || text[0] == '-' || text[0] == '+' || text[0] == ' ')
        return std::nullopt;
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    char* end = nullptr;
    const long long value = std::strtoll(text.c_str() + (hex ? 2 : 0), &end, hex ? 16 : 10);
    if (*end != '\0' || value < min || value > max)
        return std::nullopt;
    return value;
}

std::optional<float> real(const std::string& text) {
    if (text.empty())
        return std::nullopt;
    char* end = nullptr;
    const float value = std::strtof(text.c_str(), &end);
    if (*end != '\0')
        return std::nullopt;
    return value;
}

bool digits(const std::string& text, std::size_t count) {
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
        switch (text[i]) {
            case 'r':
                out += '\r';
                break;
            case 'n':
                out += '\n';
                break;
            case 't':
                out += '\t';
                break;
            case '\\':
                out += '\\';
                break;
            case 'x': {
                if (i + 2 >= text.size())
                    return std::nullopt;
                const auto value = integer("0x" + text.substr(i + 1, 2), 0, 255);
                if (!value)
                    return std::nullopt;
                out += static_cast<char>(*value);
                i += 2;
                break;
            }
            default:
                return std::nullopt;
        }
    }
    return out;
}

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

std::string helpText() {
    return R"(Usage: zelar-sim [options]

Runs a simulated Zelar-2 GSM modem on a pseudo-terminal and registers it as a COM port for
zelar-config. Prints one line "COM<n> <device>" (for example "COM200 /dev/pts/5") once the
port is ready, then runs until SIGINT or SIGTERM, which remove the COM link and exit with 0.
Beside the link, COM<n>.owner names the simulator's process; at start, zelar-sim removes the
links whose simulator has gone without removing them (killed, crashed).
SIGUSR1 switches the modem off and on (its boot loader then runs, as after AT+V39).

Port:
  --com N                register as COM<N> (1-255); default: the first free number from 200 down
  --ports-dir DIR        folder of the COM<n> links
                         (default: $XDG_CONFIG_HOME/Kalvimo/Zelar2/ports, or ~/.config/...)
  --any-baud             answer at any line speed (default: the firmware hears only 115200 baud
                         and the boot loader only 57600)

Modem:
  --state FILE           keep settings memory, page buffer, flash and program memory in FILE:
                         loaded at start (a missing file starts from the installed defaults),
                         saved after changes and at every exit by SIGINT or SIGTERM
  --firmware NNNN        controller firmware version digits (default 0205; 0150 and 0203 act as
                         old firmware without the restart command)
  --boot-loader NNN      boot loader version digits (default 102, shown as 1.02)
  --balance X            balance reported by AT+V24 (default 123.45)
  --current-sim N        current SIM byte of AT+V24 (default 0, the main SIM)
  --sim-status N         SIM status byte of AT+V24 (default 0, registered)
  --fault-flags N        16-bit fault flags of AT+V25 (default 0; 0x prefix for hexadecimal)
  --signal N             signal level byte of AT+V25 (default 17; above 31 means unknown)
  --pin-error            set the PIN error digit of AT+V25

Timing:
  --command-us US        work time of a memory command (default 1000)
  --flash-us US          work time of a flash page store or load (default 15000)
  --block-us US          programming time of one boot loader block (default 5000)
  --restart-ms MS        from the restart reply to the boot loader's "!" (default 500)
  --boot-window-ms MS    boot loader idle time before the firmware starts again (default 3000)

Faults (each may be given several times):
  --fault KIND[:NN[@K]]  make replies misbehave; NN limits it to AT+V<NN>, @K to the K-th such
                         command. KIND is one of
                           silent        the command is lost: not carried out, no reply
                           no-ok         carried out, the reply lacks its final "OK" CR LF
                           split         the reply comes in pieces with pauses between them
                           stray-before  unrelated bytes come before the reply
                           stray-after   unrelated bytes come after the reply
                           late          the reply starts only after a long pause
                           corrupt       payload characters are replaced by a non-hex character
  --stop-after N         answer nothing after N commands, until the next restart
  --hang-up-after N      after N command lines and boot loader blocks (counted together from
                         the start), drop the next one and hang up, as a pulled cable does:
                         the pty closes and the COM link goes; once per run
  --back-after-ms MS     then come back on a new pty under the same COM number (default 1000)
  --split-pieces N       pieces of a split reply (default 2)
  --split-gap-ms MS      pause between pieces (default 150)
  --stray TEXT           stray bytes, with \r \n \t \\ \xNN escapes (default "\r\nRING\r\n")
  --late-ms MS           pause before a late reply (default 6000)
  --corrupt-count N      payload characters replaced (default 1)
  --corrupt-char C       their replacement (default G)
  --boot-fault KIND      no-announce        the boot loader never sends "!"
                         double-announce    it sends "!!" instead
                         double-ack[:PAGE]  acknowledge blocks (or block PAGE) twice
                         no-ack[:PAGE]      acknowledge blocks (or block PAGE) not at all

Other:
  --log                  log every command, reply and boot loader event to stderr
  --help                 show this text
)";
}

ParsedOptions parseOptions(const std::vector<std::string>& args) {
    SimOptions o;
    o.portsDir = defaultPortsDir();
    auto& timing = o.modem.timing;
    auto& diag = o.modem.diagnostics;
    auto& faults = o.modem.faults;

    using Setter = std::function<bool(const std::string&)>;
    const auto number = [](auto& target, long long min, long long max, long long scale = 1) {
        return Setter([&target, min, max, scale](const std::string& v) {
            const auto n = integer(v, min, max);
            if (n)
                target = static_cast<std::remove_reference_t<decltype(target)>>(*n * scale);
            return n.has_value();
        });
    };
    constexpr long long kBig = 3'600'000'000LL;
    const std::map<std::string, Setter> withValue = {
        {"--com", Setter([&](const std::string& v) {
             const auto n = integer(v, 1, 255);
             if (n)
                 o.comNumber = static_cast<int>(*n);
             return n.has_value();
         })},
        {"--ports-dir", Setter([&](const std::string& v) {
             o.portsDir = v;
             return !v.empty();
         })},
        {"--state", Setter([&](const std::string& v) {
             o.stateFile = v;
             return !v.empty();
         })},
        {"--firmware", Setter([&](const std::string& v) {
             o.firmware = v;
             return digits(v, 4);
         })},
        {"--boot-loader", Setter([&](const std::string& v) {
             o.bootLoader = v;
             return digits(v, 3);
         })},
        {"--balance", Setter([&](const std::string& v) {
             const auto f = real(v);
             if (f)
                 diag.balance = *f;
             return f.has_value();
         })},
        {"--current-sim", number(diag.currentSim, 0, 255)},
        {"--sim-status", number(diag.simStatus, 0, 255)},
        {"--fault-flags", number(diag.faultFlags, 0, 0xFFFF)},
        {"--signal", number(diag.signalLevel, 0, 255)},
        {"--command-us", number(timing.commandUs, 0, kBig)},
        {"--flash-us", number(timing.flashUs, 0, kBig)},
        {"--block-us", number(timing.blockUs, 0, kBig)},
        {"--restart-ms", number(timing.restartUs, 0, kBig / 1000, 1000)},
        {"--boot-window-ms", number(timing.bootWindowUs, 0, kBig / 1000, 1000)},
        {"--fault", Setter([&](const std::string& v) {
             const auto rule = sim::parseFaultRule(v);
             if (rule)
                 faults.rules.push_back(*rule);
             return rule.has_value();
         })},
        {"--boot-fault", Setter([&](const std::string& v) {
             const auto rule = sim::parseBootFaultRule(v);
             if (rule)
                 faults.bootRules.push_back(*rule);
             return rule.has_value();
         })},
        {"--stop-after", number(faults.stopAfterCommands, 0, 1'000'000'000)},
        {"--hang-up-after", number(faults.hangUpAfter, 0, 1'000'000'000)},
        {"--back-after-ms", number(o.backAfterMs, 0, 3'600'000)},
        {"--split-pieces", number(faults.splitPieces, 1, 1000)},
        {"--split-gap-ms", number(faults.splitGapUs, 0, kBig / 1000, 1000)},
        {"--late-ms", number(faults.lateUs, 0, kBig / 1000, 1000)},
        {"--corrupt-count", number(faults.corruptCount, 0, 100000)},
        {"--corrupt-char", Setter([&](const std::string& v) {
             if (v.size() == 1)
                 faults.corruptWith = v[0];
             return v.size() == 1;
         })},
        {"--stray", Setter([&](const std::string& v) {
             const auto text = unescape(v);
             if (text)
                 faults.strayBytes = *text;
             return text.has_value() && !text->empty();
         })},
    };

    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        std::optional<std::string> value;
        if (const auto eq = name.find('='); name.rfind("--", 0) == 0 && eq != std::string::npos) {
            value = name.substr(eq + 1);
            name = name.substr(0, eq);
        }
        if (name == "--help" || name == "-h")
            return {std::nullopt, true, {}};
        if (name == "--log" && !value) {
            o.log = true;
            continue;
        }
        if (name == "--pin-error" && !value) {
            diag.pinError = true;
            continue;
        }
        if (name == "--any-baud" && !value) {
            o.modem.strictBaud = false;
            continue;
        }
        const auto setter = withValue.find(name);
        if (setter == withValue.end())
            return {std::nullopt, false, "unknown option " + args[i]};
        if (!value) {
            if (i + 1 == args.size())
                return {std::nullopt, false, name + " needs a value"};
            value = args[++i];
        }
        if (!setter->second(*value))
            return {std::nullopt, false, "bad value for " + name + ": " + *value};
    }
    return {std::move(o), false, {}};
}

}  // namespace zelar::simtool
