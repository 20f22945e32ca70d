#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zelar {

// The actions of a control script, one a line.
enum class ScriptAction { Port, Select, Set, Check, Click, Key, Answer, File, Wait, Dump, Expect };

struct ScriptLine {
    int number = 0;  // 1-based line in the script text
    ScriptAction action = ScriptAction::Dump;
    std::vector<std::string> args;
};

struct ScriptError {
    int line = 0;
    std::string message;
};

struct ParsedScript {
    std::vector<ScriptLine> lines;
    std::optional<ScriptError> error;  // the first bad line; `lines` is then empty
};

// Splits one line into words: blanks separate them; a word in double quotes keeps its blanks
// (\" and \\ inside quotes stand for " and \). Nothing, with `error` set, for a quote left open
// or a quoted word running into the next one.
std::optional<std::vector<std::string>> splitScriptWords(std::string_view line, std::string& error);

// Reads a whole script: blank lines and lines starting with '#' are skipped; each other line is
// an action name and its arguments, checked for their count and form. Takes any bytes.
ParsedScript parseScript(std::string_view text);

}  // namespace zelar
