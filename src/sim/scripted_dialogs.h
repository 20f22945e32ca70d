#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/dialogs.h"

namespace zelar::sim {

// Dialogs for tests and headless runs: every message box is recorded, answers come from a
// script (the default answer when the script is empty).
class ScriptedDialogs : public Dialogs {
  public:
    struct Message {
        std::string text;
        std::string caption;
        MessageIcon icon;
        MessageButtons buttons;
    };

    MessageResult messageBox(const std::string& text, const std::string& caption, MessageIcon icon,
                             MessageButtons buttons) override;
    std::optional<std::string> openFileName(const std::string& filter,
                                            const std::string& fileName) override;
    std::optional<std::string> saveFileName(const std::string& filter,
                                            const std::string& defaultExtension,
                                            const std::string& fileName) override;
    void showModal(WindowId window) override;
    void closeModal(WindowId window) override;

    // What each file dialog was asked to offer.
    struct FileRequest {
        std::string filter;
        std::string defaultExtension;
        std::string fileName;
    };

    std::vector<Message> messages;
    std::vector<FileRequest> fileRequests;
    std::vector<WindowId> shownWindows;
    std::vector<WindowId> closedWindows;
    std::deque<MessageResult> answers;
    std::deque<std::optional<std::string>> fileNames;
    // Told of each message box while it is up, to see what the window shows behind it.
    std::function<void(const Message&)> onMessage;

  private:
    std::optional<std::string> nextFileName();
};

// The first button of each set: what a user pressing Enter would get.
MessageResult defaultAnswer(MessageButtons buttons);

}  // namespace zelar::sim
