#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zelar {

// The actions of a control script, one a line.
enum class ScriptAction { Port, Select, Set, Check, Click, Key, Answer, File, Wait, Dump, Expect };

// How an action is written and what it does: the parser checks a line against it, the runner has
// one function for each, and the help lists them from it.
struct ScriptActionForm {
    std::string_view name;
    ScriptAction action;
    std::size_t minArgs;
    std::size_t maxArgs;
    std::string_view usage;
    std::string_view help;  // one line or more, split by '\n'
};

// The longest `wait` a script takes. The longest the modem keeps working after a click is the
// firmware transfer: 496 pages, 100 ms each, about 50 s once its boot loader has answered; the
// restart before it and the mode change's restart are polled inside the click (at most 10 s).
inline constexpr int kLongestWaitMs = 60000;

inline constexpr std::size_t kAnyArgCount = static_cast<std::size_t>(-1);

inline constexpr std::array kScriptActions = {
    ScriptActionForm{"port", ScriptAction::Port, 1, 1, "port COMn", "selects the port"},
    ScriptActionForm{"select", ScriptAction::Select, 2, 2, "select CONTROL ITEM",
                     "picks a list item, a tree node or a tab of PageControl1\n"
                     "by its text (trailing blanks ignored), running its rule"},
    ScriptActionForm{"set", ScriptAction::Set, 2, 2, "set CONTROL TEXT",
                     "types TEXT into the emptied field (\"\" leaves it empty):\n"
                     "its key filter and length limit apply; then leaving the\n"
                     "field runs its rule"},
    ScriptActionForm{"check", ScriptAction::Check, 2, 2, "check CONTROL 0|1",
                     "clicks a check box or radio button when its state\n"
                     "differs; a radio button is unchecked by checking another"},
    ScriptActionForm{"click", ScriptAction::Click, 1, 1, "click CONTROL", "presses a button"},
    ScriptActionForm{"key", ScriptAction::Key, 2, 2, "key CONTROL Enter",
                     "presses Enter in a field"},
    ScriptActionForm{"answer", ScriptAction::Answer, 1, 1, "answer Yes|No|OK|Cancel|Retry",
                     "answers the next question"},
    ScriptActionForm{"file", ScriptAction::File, 1, 1, "file PATH",
                     "the name for the next file dialog (\"\" cancels it)"},
    ScriptActionForm{"wait", ScriptAction::Wait, 1, 1, "wait MS",
                     "lets MS milliseconds pass with events processed, at\n"
                     "most 60000 (a firmware transfer takes about 50 s)"},
    ScriptActionForm{"dump", ScriptAction::Dump, 0, kAnyArgCount, "dump [CONTROL...]",
                     "prints 'ControlName: value' lines as read does (every\n"
                     "control of the main window that the login may see\n"
                     "when no name is given)"},
    ScriptActionForm{"expect", ScriptAction::Expect, 2, 2, "expect CONTROL VALUE",
                     "stops with status 1 when the control's value differs"},
};

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
// an action name and its arguments, checked for their count and form. Takes any bytes: UTF-8
// when they are valid UTF-8, else Windows-1251.
ParsedScript parseScript(std::string_view bytes);

}  // namespace zelar
