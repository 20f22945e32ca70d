#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "app/control_events.h"
#include "app/core/app.h"
#include "script/script_dialogs.h"
#include "script/script_parser.h"

namespace zelar {

// What a script stopped from outside ends its line with.
inline constexpr const char* kTextScriptStopped = "Прервано";

// Runs script lines on an App the way a person at the window would: only controls that are on
// view, enabled and in the window that has the input, with the focus moving from control to
// control and every rule of the control event table running where the window runs it.
class ScriptRunner {
  public:
    ScriptRunner(App& app, ScriptDialogs& dialogs, std::ostream& out, std::ostream& err);

    // Control names that no window has; run before anything reaches the modem.
    std::optional<ScriptError> checkNames(const std::vector<ScriptLine>& lines) const;
    // Reads the modem and logs in as `user` (1 to 6), as the read command does. False when either
    // fails.
    bool logIn(int user, const std::string& password);
    // 0 when every line ran; 1 when an expectation failed or a line's operation failed (a failed
    // exchange, a refusal by a check or by the rights); 2 when a line asked for something a
    // person could not do. The reason goes to `err` as "line N: ...".
    int run(const std::vector<ScriptLine>& lines);

    // The name and value of each control a dump shows.
    using DumpLines = std::vector<std::pair<std::string, std::string>>;
    // Gives each dump's lines to `sink` instead of printing them.
    void setDumpSink(std::function<void(DumpLines)> sink) { dumpSink_ = std::move(sink); }

    // With `exact`, a `set` whose text the field would change (a character its keys refuse, a
    // control character, a character without a Windows-1251 code, or past its length) fails the
    // line instead of typing what the field takes: for values filled in from a table, where
    // "1,13" typed as 113 would write another value unnoticed.
    void setExactValues(bool exact) { exactValues_ = exact; }

    // Asked before each line and all through a wait: once it holds (the program was told to
    // end), no further line runs and the script ends with status 1 and kTextScriptStopped.
    void setStopWhen(std::function<bool()> stop) { stopWhen_ = std::move(stop); }

    // The control with the input focus; empty when none has it.
    const std::string& focused() const { return focused_; }

  private:
    struct Found;
    struct Refusal {
        int exitCode;
        std::string message;
    };

    using Args = std::vector<std::string>;
    // One function for each action: one that acts on the line's arguments, or one that acts on
    // the control the line names, once that is known to be reachable.
    using LineAction = std::optional<Refusal> (ScriptRunner::*)(const Args&);
    using ControlAction = std::optional<Refusal> (ScriptRunner::*)(const Found&, const Args&);
    struct ActionRun {
        ScriptAction action;
        LineAction onLine;
        ControlAction onControl;
    };
    static const ActionRun& actionRun(ScriptAction action);

    std::optional<Found> find(const std::string& name) const;
    std::optional<Refusal> runLine(const ScriptLine& line);
    bool stopped() const { return stopWhen_ && stopWhen_(); }
    std::optional<Refusal> answer(const Args& args);
    std::optional<Refusal> nameFile(const Args& args);
    std::optional<Refusal> wait(const Args& args);
    std::optional<Refusal> dumpControls(const Args& args);
    std::optional<Refusal> expect(const Args& args);
    std::optional<Refusal> selectPort(const Found& control, const Args& args);
    std::optional<Refusal> select(const Found& control, const Args& args);
    // Picks a tab, a list item or a tree node by its text.
    std::optional<Refusal> choose(const Found& control, const std::string& item);
    std::optional<Refusal> selectTab(const Found& control, const std::string& caption);
    std::optional<Refusal> selectListItem(const Found& control, ComboBox& box,
                                          const std::string& item);
    std::optional<Refusal> selectNode(const Found& control, TreeView& tree,
                                      const std::string& item);
    std::optional<Refusal> set(const Found& control, const Args& args);
    std::optional<Refusal> check(const Found& control, const Args& args);
    std::optional<Refusal> checkRadioButton(const Found& control, RadioButton& radio, bool want);
    std::optional<Refusal> click(const Found& control, const Args& args);
    std::optional<Refusal> pressEnter(const Found& control, const Args& args);
    // Runs the control's handler for the event, if it has one; false when it failed.
    bool onEvent(const Found& control, ControlHandler ControlEvents::*event);
    static Refusal failed(const Found& control);
    std::optional<Refusal> reachable(const Found& control) const;
    // False when the operation the handler started failed.
    bool handle(ControlHandler handler);
    // A control on a page that the login may not open is hidden from it, as in the window.
    std::optional<Refusal> closedToLogin(const Found& control) const;
    void moveFocus(const Found& control);
    void takeFocusRequest();
    void dump(const std::vector<std::string>& names);

    App& app_;
    ScriptDialogs& dialogs_;
    std::ostream& out_;
    std::ostream& err_;
    std::string focused_;
    FormId focusedForm_ = FormId::Main;
    bool focusedExitRan_ = false;
    bool exactValues_ = false;
    std::function<void(DumpLines)> dumpSink_;
    std::function<bool()> stopWhen_;
};

}  // namespace zelar
