#include "cli_options.h"

#include "text/hex.h"

namespace zelar::cli {

namespace {

ParseResult fail(const std::string& error) {
    return {std::nullopt, error};
}

}  // namespace

bool isPortName(const std::string& text) {
    return text.size() >= 4 && text.compare(0, 3, "COM") == 0 &&
           parseDecimal(std::string_view(text).substr(3)).has_value();
}

ParseResult parseCliOptions(const std::vector<std::string>& args) {
    if (args.empty())
        return fail("no command given");
    CliOptions options;
    options.command = args[0];
    if (options.command == "-h" || options.command == "help")
        options.command = "--help";

    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto value = [&]() -> std::optional<std::string> {
            if (i + 1 >= args.size())
                return std::nullopt;
            return args[++i];
        };
        auto number = [&](int low, int high) -> std::optional<int> {
            const auto v = value();
            const auto n = v ? parseDecimal(*v) : std::nullopt;
            if (!n || *n < low || *n > high)
                return std::nullopt;
            return n;
        };
        if (arg == "-" || arg.empty() || arg[0] != '-') {
            options.files.push_back(arg);
        } else if (arg == "--state") {
            options.state = true;
        } else if (arg == "--yes") {
            options.yes = true;
        } else if (arg == "--fast") {
            options.fast = true;
        } else if (arg == "--port") {
            const auto v = value();
            if (!v || !isPortName(*v))
                return fail("--port needs a value such as COM3");
            options.port = *v;
        } else if (arg == "--user") {
            options.user = number(1, 6);
            if (!options.user)
                return fail("--user needs a user number from 1 to 6");
        } else if (arg == "--password") {
            const auto v = value();
            if (!v)
                return fail("--password needs a value");
            options.password = *v;
        } else if (arg == "--retries") {
            options.retries = number(0, 1000000);
            if (!options.retries)
                return fail("--retries needs a count");
        } else if (arg == "--retry-delay") {
            const auto delay = number(0, 3600000);
            if (!delay)
                return fail("--retry-delay needs milliseconds");
            options.retryDelayMs = *delay;
        } else if (arg == "--trace") {
            const auto v = value();
            if (!v || v->empty())
                return fail("--trace needs a file");
            options.trace = *v;
        } else if (arg == "--wait") {
            options.waitSeconds = number(0, 86400);
            if (!options.waitSeconds)
                return fail("--wait needs seconds");
        } else {
            return fail("unknown option '" + arg + "'");
        }
    }
    if (options.user.has_value() != !options.password.empty())
        return fail("--user and --password go together");
    return {options, {}};
}

}  // namespace zelar::cli
