#include "command_options.h"

#include <algorithm>
#include <array>

namespace zelar::cli {

namespace {

struct CommandOptions {
    std::string_view command;
    std::string_view options;  // each followed by a blank
};

// Every command that talks to a modem also takes these; --help is everyone's.
constexpr std::string_view kModem = "--user --password --yes --fast --trace ";
// The commands that record their visits in the archive of modems.
constexpr std::string_view kRecorded =
    " read backup script restore defaults mode dict-upload flash verify diag provision report ";

constexpr std::array kCommandOptions = {
    CommandOptions{"ports", "--probe --json --trace "},
    CommandOptions{"read", "--port --state --json "},
    CommandOptions{"diag", "--port --json --watch --interval --count --csv "},
    CommandOptions{"script", "--port --file --json --exact --verify --retries --retry-delay "},
    CommandOptions{"dict-upload", "--port --verify --retries --retry-delay "},
    CommandOptions{"dict-download", "--port --retries --retry-delay "},
    CommandOptions{"backup", "--port "},
    // provision gives restore its --retries with the other writing options.
    CommandOptions{"restore", "--port --verify --retries --retry-delay "},
    CommandOptions{"verify", "--port --json --as-restored "},
    CommandOptions{"diff", "--json "},  // its ports are its arguments
    CommandOptions{"defaults", "--port --verify "},
    CommandOptions{"mode", "--port --verify "},
    CommandOptions{"fw-info", "--json --trace "},
    CommandOptions{"new", "--yes "},
    CommandOptions{"report", "--port --file --installer --site --with-secrets "},
    CommandOptions{"flash", "--port --wait "},
    CommandOptions{"archive",
                   "--archive-file --json --with-secrets --at --name --address --note "
                   "--yes "},
    CommandOptions{"provision",
                   "--ports --template --script --values --jobs --report --verify --retries "
                   "--retry-delay "},
};

bool listed(std::string_view list, std::string_view option) {
    for (std::size_t at = list.find(option); at != std::string_view::npos;
         at = list.find(option, at + 1)) {
        const std::size_t end = at + option.size();
        if ((at == 0 || list[at - 1] == ' ') && end < list.size() && list[end] == ' ')
            return true;
    }
    return false;
}

}  // namespace

bool commandTakes(std::string_view command, std::string_view option) {
    const auto entry = std::find_if(kCommandOptions.begin(), kCommandOptions.end(),
                                    [&](const CommandOptions& c) { return c.command == command; });
    if (entry == kCommandOptions.end())
        return false;
    const bool talksToModem = entry->command != "ports" && entry->command != "fw-info" &&
                              entry->command != "new" && entry->command != "archive";
    const bool recorded = listed(kRecorded, entry->command);
    return option == "--help" || listed(entry->options, option) ||
           (talksToModem && listed(kModem, option)) ||
           (recorded && (option == "--archive" || option == "--archive-file"));
}

}  // namespace zelar::cli
