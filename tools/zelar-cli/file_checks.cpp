#include "file_checks.h"

#include <array>
#include <filesystem>
#include <iostream>
#include <string_view>
#include <vector>

#include "app/service/dictionary_page.h"
#include "files/file_io.h"
#include "platform/file_path.h"
#include "trace_file.h"

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
    bool replacesOnlyWithYes = false;  // an existing file to write needs --yes
};

constexpr std::array kCommandFiles = {
    CommandFiles{"restore", Arguments::Read},
    CommandFiles{"dict-upload", Arguments::Read},
    CommandFiles{"fw-info", Arguments::Read},
    CommandFiles{"flash", Arguments::Read},
    CommandFiles{"verify", Arguments::Read},
    CommandFiles{"diff", Arguments::Read},
    CommandFiles{"script", Arguments::Read},
    CommandFiles{"backup", Arguments::Write},
    CommandFiles{"dict-download", Arguments::Write, true},
    CommandFiles{"report", Arguments::Write},
    CommandFiles{"new", Arguments::Write, true},
};

CommandFiles filesOf(const std::string& command) {
    for (const CommandFiles& entry : kCommandFiles) {
        if (entry.command == command)
            return entry;
    }
    return {command, Arguments::None};
}

bool isStdinArgument(const CliOptions& options, const std::string& file) {
    return file == "-" && options.command == "script";
}

// Whether an argument names a file, not stdin or one of diff's ports.
bool isFileArgument(const CliOptions& options, const std::string& file) {
    return !isStdinArgument(options, file) && !(options.command == "diff" && isPortName(file));
}

// A file the command names, and whether it writes it (with what it is called then).
struct NamedFile {
    const std::string* path;
    const char* written;  // nullptr for a file that is only read
};

std::vector<NamedFile> namedFiles(const CliOptions& options) {
    std::vector<NamedFile> files;
    const auto add = [&files](const std::string& path, const char* written) {
        if (!path.empty())
            files.push_back({&path, written});
    };
    add(options.trace, "the trace file");
    add(options.csvFile, "the CSV file");
    add(options.reportFile, "the report");
    const bool writes = filesOf(options.command).arguments == Arguments::Write;
    for (const std::string& file : options.files) {
        if (filesOf(options.command).arguments != Arguments::None)
            add(file, writes ? "the output" : nullptr);
    }
    for (const std::string* input :
         {&options.settingsFile, &options.templateFile, &options.scriptFile, &options.valuesFile})
        add(*input, nullptr);
    return files;
}

// A file to write that another of the command's names also leads to (through a link too):
// written, it would destroy the command's own input, or the other output.
std::string sharedFileProblem(const CliOptions& options) {
    const std::vector<NamedFile> files = namedFiles(options);
    for (std::size_t w = 0; w < files.size(); ++w) {
        if (files[w].written == nullptr)
            continue;
        const std::string& path = *files[w].path;
        for (std::size_t other = 0; other < files.size(); ++other) {
            const std::string& name = *files[other].path;
            const bool stdinArgument = isStdinArgument(options, name);
            if (other == w || (!stdinArgument && !isFileArgument(options, name)))
                continue;
            // Written into stdin, it would feed the command its own output or wait for ever.
            if (stdinArgument ? isStdin(path) : sameFile(path, name))
                return std::string(files[w].written) + " '" + path + "' is the same file as " +
                       (stdinArgument ? std::string("stdin") : "'" + name + "'");
        }
    }
    return {};
}

// A file to write that the command would replace: refused when it will not do, and when it
// exists and the command replaces it only with --yes.
std::string writtenFileProblem(const std::string& path, bool needsYes, bool yes) {
    if (std::string problem = problemOf(path, outputFileProblem); !problem.empty())
        return problem;
    std::error_code error;
    if (needsYes && !yes &&
        std::filesystem::exists(std::filesystem::symlink_status(filePath(path), error)))
        return path + " exists; give --yes to replace it";
    return {};
}

}  // namespace

void refuseAsNoSettingsFile(const std::string& path) {
    std::cerr << "zelar-cli: '" << path << "' is not a settings file\n";
}

bool inputFileReady(const std::string& path) {
    return ready(problemOf(path, inputFileProblem));
}

bool outputFileReady(const std::string& path) {
    return ready(problemOf(path, outputFileProblem));
}

std::string commandFilesProblem(const CliOptions& options) {
    // Said first: that it is another of the command's files is the one reason that matters.
    if (std::string problem = sharedFileProblem(options); !problem.empty())
        return problem;
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
    if (!options.csvFile.empty()) {
        if (std::string problem = writtenFileProblem(options.csvFile, true, options.yes);
            !problem.empty())
            return problem;
    }
    const CommandFiles files = filesOf(options.command);
    for (const std::string& file : options.files) {
        if (files.arguments == Arguments::None)
            break;
        if (!isFileArgument(options, file))
            continue;
        const std::string problem =
            files.arguments == Arguments::Read
                ? problemOf(file, inputFileProblem)
                : writtenFileProblem(file, files.replacesOnlyWithYes, options.yes);
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
