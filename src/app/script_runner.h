#pragma once

#include <deque>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/control_events.h"
#include "app/script_parser.h"

namespace zelar {

// Dialogs for a script: message boxes are printed as "[caption] text"; a question takes the
// answer queued by the script, else the --yes answer or its default (no, cancel); file dialogs
// take the queued names; the window shown modally is remembered so that only its controls can
// be used.
class ScriptDialogs : public Dialogs {
  public:
    ScriptDialogs(std::ostream& out, bool yes) : out_(out), yes_(yes) {}

    MessageResult messageBox(const std::string& text, const std::string& caption, MessageIcon icon,
                             MessageButtons buttons) override;
    std::optional<std::string> openFileName(const std::string& filter) override;
    std::optional<std::string> saveFileName(const std::string& filter,
                                            const std::string& defaultExtension) override;
    void showModal(WindowId window) override;
    void closeModal(WindowId window) override;

    void queueAnswer(MessageResult answer) { answers_.push_back(answer); }
    // Nothing cancels the dialog.
    void queueFile(std::optional<std::string> path) { files_.push_back(std::move(path)); }
    std::optional<WindowId> modalWindow() const;
    // A queued answer that the question had no button for; cleared when read.
    std::string takeMisfit();

  private:
    std::optional<std::string> nextFile();

    std::ostream& out_;
    bool yes_;
    std::deque<MessageResult> answers_;
    std::deque<std::optional<std::string>> files_;
    std::vector<WindowId> modal_;
    std::string misfit_;
};

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
    // 0 when every line ran; 1 when an expectation failed; 2 when a line asked for something a
    // person could not do. The reason goes to `err` as "line N: ...".
    int run(const std::vector<ScriptLine>& lines);

    // The control with the input focus; empty when none has it.
    const std::string& focused() const { return focused_; }

  private:
    struct Found;
    struct Refusal {
        int exitCode;
        std::string message;
    };

    std::optional<Found> find(const std::string& name) const;
    std::optional<Refusal> runLine(const ScriptLine& line);
    std::optional<Refusal> reachable(const Found& control) const;
    void handle(ControlHandler handler);
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
};

}  // namespace zelar
