#include "console_dialogs.h"

namespace zelar::cli {

MessageResult ConsoleDialogs::messageBox(const std::string& text, const std::string& caption,
                                         MessageIcon, MessageButtons buttons) {
    out_ << '[' << caption << "] " << text << std::endl;
    switch (buttons) {
        case MessageButtons::Ok:
            return MessageResult::Ok;
        case MessageButtons::OkCancel:
            return yes_ ? MessageResult::Ok : MessageResult::Cancel;
        case MessageButtons::YesNo:
            return yes_ ? MessageResult::Yes : MessageResult::No;
        case MessageButtons::RetryCancel:
            // Nobody can mend the cause between retries, so retrying would never end.
            return MessageResult::Cancel;
    }
    return MessageResult::Cancel;
}

std::optional<std::string> ConsoleDialogs::openFileName(const std::string&) {
    return std::nullopt;
}

std::optional<std::string> ConsoleDialogs::saveFileName(const std::string&, const std::string&) {
    return std::nullopt;
}

void ConsoleDialogs::showModal(WindowId) {}

void ConsoleDialogs::closeModal(WindowId) {}

}  // namespace zelar::cli
