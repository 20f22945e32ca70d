#pragma once

#include <deque>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/dialogs.h"

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
    std::optional<std::string> openFileName(const std::string& filter,
                                            const std::string& fileName) override;
    std::optional<std::string> saveFileName(const std::string& filter,
                                            const std::string& defaultExtension,
                                            const std::string& fileName) override;
    void showModal(WindowId window) override;
    void closeModal(WindowId window) override;

    void queueAnswer(MessageResult answer) { answers_.push_back(answer); }
    // How many Retry answers failed exchanges get, in all, before Cancel.
    void setRetries(int retries) { retries_ = retries; }
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
    int retries_ = 0;
};

// The button names a script answers with: "OK", "Cancel", "Yes", "No", "Retry".
std::string_view answerName(MessageResult answer);
MessageResult answerFromName(std::string_view name);

}  // namespace zelar
