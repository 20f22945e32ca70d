#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/dialogs.h"
#include "platform/event_pump.h"

namespace zelar {

// A message box as it was shown.
struct ShownMessage {
    std::string caption;
    std::string text;
    MessageIcon icon = MessageIcon::None;
};

// Dialogs for a script: message boxes are printed as "[caption] text"; a question takes the
// answer queued by the script, else the --yes answer or its default (no, cancel); file dialogs
// take the queued names; the window shown modally is remembered so that only its controls can
// be used.
class ScriptDialogs : public Dialogs {
  public:
    ScriptDialogs(std::ostream& out, bool yes) : out_(out), yes_(yes) {}

    MessageResult messageBox(const std::string& text, const std::string& caption, MessageIcon icon,
                             MessageButtons buttons) override;
    std::optional<std::string> openFileName(const std::string& filter,
                                            const std::string& fileName) override;
    std::optional<std::string> saveFileName(const std::string& filter,
                                            const std::string& defaultExtension,
                                            const std::string& fileName) override;
    void showModal(WindowId window) override;
    void closeModal(WindowId window) override;

    // A line printed after a message when the front end has more to say about it (empty for
    // nothing), such as why a port could not be opened.
    void setNote(std::function<std::string(const std::string& text)> note) {
        note_ = std::move(note);
    }
    void queueAnswer(MessageResult answer) { answers_.push_back(answer); }
    // How many Retry answers failed exchanges get, in all, before Cancel; each waits `delayMs`
    // first, with events running, so that the cause (a modem restarting, a cable) can pass.
    void setRetries(int retries, EventPump& pump, int delayMs) {
        retries_ = retries;
        retryPump_ = &pump;
        retryDelayMs_ = delayMs;
    }
    // Nothing cancels the dialog.
    void queueFile(std::optional<std::string> path) { files_.push_back(std::move(path)); }
    std::optional<WindowId> modalWindow() const;
    // Every message box shown so far, in order, for a front end that reports them as data.
    const std::vector<ShownMessage>& shownMessages() const { return shown_; }
    // A queued answer that the question had no button for; cleared when read.
    std::string takeMisfit();

  private:
    std::optional<std::string> nextFile();

    std::ostream& out_;
    bool yes_;
    std::deque<MessageResult> answers_;
    std::deque<std::optional<std::string>> files_;
    std::vector<WindowId> modal_;
    std::vector<ShownMessage> shown_;
    std::string misfit_;
    int retries_ = 0;
    std::function<std::string(const std::string&)> note_;
    EventPump* retryPump_ = nullptr;
    int retryDelayMs_ = 0;
};

// The button names a script answers with: "OK", "Cancel", "Yes", "No", "Retry".
std::string_view answerName(MessageResult answer);
MessageResult answerFromName(std::string_view name);

}  // namespace zelar
