#include "sim/scripted_dialogs.h"

namespace zelar::sim {

MessageResult defaultAnswer(MessageButtons buttons) {
    switch (buttons) {
        case MessageButtons::Ok:
        case MessageButtons::OkCancel:
            return MessageResult::Ok;
        case MessageButtons::YesNo:
        case MessageButtons::YesNoCancel:
            return MessageResult::Yes;
        case MessageButtons::RetryCancel:
            return MessageResult::Retry;
    }
    return MessageResult::Ok;
}

MessageResult ScriptedDialogs::messageBox(const std::string& text, const std::string& caption,
                                          MessageIcon icon, MessageButtons buttons) {
    messages.push_back({text, caption, icon, buttons});
    if (onMessage)
        onMessage(messages.back());
    if (answers.empty())
        return defaultAnswer(buttons);
    const MessageResult answer = answers.front();
    answers.pop_front();
    return answer;
}

std::optional<std::string> ScriptedDialogs::openFileName(const std::string& filter,
                                                         const std::string& fileName) {
    fileRequests.push_back({filter, {}, fileName});
    return nextFileName();
}

std::optional<std::string> ScriptedDialogs::nextFileName() {
    if (fileNames.empty())
        return std::nullopt;
    auto name = fileNames.front();
    fileNames.pop_front();
    return name;
}

std::optional<std::string> ScriptedDialogs::saveFileName(const std::string& filter,
                                                         const std::string& defaultExtension,
                                                         const std::string& fileName) {
    fileRequests.push_back({filter, defaultExtension, fileName});
    return nextFileName();
}

void ScriptedDialogs::showModal(WindowId window) {
    shownWindows.push_back(window);
}

void ScriptedDialogs::closeModal(WindowId window) {
    closedWindows.push_back(window);
}

}  // namespace zelar::sim
