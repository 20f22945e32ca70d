#include "script/script_parser.h"

#include "text/cp1251.h"
#include "text/hex.h"

namespace zelar {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

bool isPortName(std::string_view s) {
    return s.size() > 3 && s.substr(0, 3) == "COM" && parseDecimal(s.substr(3)).has_value();
}

// The form of the arguments beyond their count; empty when they fit.
std::string checkArguments(ScriptAction action, const std::vector<std::string>& args) {
    switch (action) {
        case ScriptAction::Port:
            return isPortName(args[0]) ? "" : "port needs a port such as COM3";
        case ScriptAction::Check:
            return args[1] == "0" || args[1] == "1" ? "" : "check needs 0 or 1";
        case ScriptAction::Key:
            return args[1] == "Enter" ? "" : "key knows only Enter";
        case ScriptAction::Answer:
            for (std::string_view a : {"Yes", "No", "OK", "Cancel", "Retry"}) {
                if (args[0] == a)
                    return "";
            }
            return "answer needs Yes, No, OK, Cancel or Retry";
        case ScriptAction::Wait: {
            const auto ms = parseDecimal(args[0]);
            if (!ms)
                return "wait needs milliseconds";
            return *ms <= kLongestWaitMs
                       ? ""
                       : "wait takes at most " + std::to_string(kLongestWaitMs) + " ms";
        }
        default:
            return "";
    }
}

}  // namespace

std::optional<std::vector<std::string>> splitScriptWords(std::string_view line,
                                                         std::string& error) {
    std::vector<std::string> words;
    std::size_t i = 0;
    while (true) {
        while (i < line.size() && isBlank(line[i]))
            ++i;
        if (i == line.size())
            return words;
        std::string word;
        if (line[i] == '"') {
            ++i;
            bool closed = false;
            while (i < line.size()) {
                const char c = line[i++];
                if (c == '"') {
                    closed = true;
                    break;
                }
                if (c == '\\' && i < line.size() && (line[i] == '"' || line[i] == '\\'))
                    word += line[i++];
                else
                    word += c;
            }
            if (!closed) {
                error = "a quote is not closed";
                return std::nullopt;
            }
            if (i < line.size() && !isBlank(line[i])) {
                error = "a blank must follow a closing quote";
                return std::nullopt;
            }
        } else {
            while (i < line.size() && !isBlank(line[i]))
                word += line[i++];
        }
        words.push_back(std::move(word));
    }
}

ParsedScript parseScript(std::string_view bytes) {
    const std::string utf8 = fileTextToUtf8(bytes);
    std::string_view text = utf8;
    // The byte-order mark Windows editors put before UTF-8 text is no part of the first line.
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (text.starts_with(kByteOrderMark))
        text.remove_prefix(kByteOrderMark.size());
    ParsedScript result;
    int number = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        ++number;
        const std::size_t end = std::min(text.find('\n', start), text.size());
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        // Scripts written on Windows end their lines with CR LF.
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        std::size_t first = 0;
        while (first < line.size() && isBlank(line[first]))
            ++first;
        if (first == line.size() || line[first] == '#')
            continue;

        std::string error;
        auto words = splitScriptWords(line, error);
        const auto fail = [&](std::string message) {
            result.lines.clear();
            result.error = ScriptError{number, std::move(message)};
            return result;
        };
        if (!words)
            return fail(error);
        const std::string& name = words->front();
        const ScriptActionForm* form = nullptr;
        for (const ScriptActionForm& f : kScriptActions) {
            if (f.name == name)
                form = &f;
        }
        if (form == nullptr)
            return fail("unknown action '" + name + "'");
        std::vector<std::string> args(words->begin() + 1, words->end());
        if (args.size() < form->minArgs ||
            (form->maxArgs != kAnyArgCount && args.size() > form->maxArgs))
            return fail("expected '" + std::string(form->usage) + "'");
        error = checkArguments(form->action, args);
        if (!error.empty())
            return fail(error);
        result.lines.push_back({number, form->action, std::move(args)});
    }
    return result;
}

}  // namespace zelar
