#include "file_checks.h"

#include <array>
#include <iostream>
#include <string_view>

#include "app/service/dictionary_page.h"
#include "files/file_io.h"

namespace zelar::cli {

namespace {

// An empty name would pass for the current folder; it is never a file the user meant.
std::string problemOf(const std::string& path, std::string (*check)(const std::string&)) {
    return path.empty() ? "an empty file name" : check(path);
}

bool ready(const std::string& problem) {
    if (!problem.empty())
        std::cerr << "zelar-cli: " << problem << '\n';
    return problem.empty();
}

// What a command's arguments that are not options are: files to read, a file to write, or
// neither (words such as mode's). `script -` reads stdin; diff takes ports as well as files.
enum class Arguments { None, Read, Write };

struct CommandFiles {
    std::string_view command;
    Arguments arguments;
};

constexpr std::array kCommandFiles = {
    CommandFiles{"restore", Arguments::Read},        CommandFiles{"dict-upload", Arguments::Read},
    CommandFiles{"fw-info", Arguments::Read},        CommandFiles{"flash", Arguments::Read},
    CommandFiles{"verify", Arguments::Read},         CommandFiles{"diff", Arguments::Read},
    CommandFiles{"script", Arguments::Read},         CommandFiles{"backup", Arguments::Write},
    CommandFiles{"dict-download", Arguments::Write}, CommandFiles{"report", Arguments::Write},
};

Arguments argumentsOf(const std::string& command) {
    for (const CommandFiles& entry : kCommandFiles) {
        if (entry.command == command)
            return entry.arguments;
    }
    return Arguments::None;
}

}  // namespace

bool inputFileReady(const std::string& path) {
    return ready(problemOf(path, inputFileProblem));
}

bool outputFileReady(const std::string& path) {
    return ready(problemOf(path, outputFileProblem));
}

std::string commandFilesProblem(const CliOptions& options) {
    if (!options.settingsFile.empty()) {
        if (std::string problem = problemOf(options.settingsFile, inputFileProblem);
            !problem.empty())
            return problem;
    }
    // A trace is added to, never replaced; a FIFO or a device is refused before it can hold the
    // program or swallow the trace.
    if (!options.trace.empty()) {
        if (std::string problem = appendedFileProblem(options.trace); !problem.empty())
            return problem;
    }
    const Arguments arguments = argumentsOf(options.command);
    for (const std::string& file : options.files) {
        if (arguments == Arguments::None)
            break;
        if (file == "-" && options.command == "script")
            continue;
        if (isPortName(file) && options.command == "diff")
            continue;
        const std::string problem =
            problemOf(file, arguments == Arguments::Read ? inputFileProblem : outputFileProblem);
        if (!problem.empty())
            return problem;
        // A dictionary with a bad line is refused whole, before the modem is read, so the flash
        // never holds part of it; the message is the upload's own.
        if (options.command == "dict-upload") {
            if (const std::string bad = dictionaryFileProblem(file); !bad.empty())
                return "\"" + file + "\": " + bad;
        }
    }
    return {};
}

}  // namespace zelar::cli
