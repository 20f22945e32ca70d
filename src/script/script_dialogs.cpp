#include "script/script_dialogs.h"

#include <algorithm>
#include <array>
#include <utility>

namespace zelar {

namespace {

bool fits(MessageButtons buttons, MessageResult answer) {
    switch (buttons) {
        case MessageButtons::Ok:
            return answer == MessageResult::Ok;
        case MessageButtons::OkCancel:
            return answer == MessageResult::Ok || answer == MessageResult::Cancel;
        case MessageButtons::YesNo:
            return answer == MessageResult::Yes || answer == MessageResult::No;
        case MessageButtons::RetryCancel:
            return answer == MessageResult::Retry || answer == MessageResult::Cancel;
        case MessageButtons::YesNoCancel:
            return answer == MessageResult::Yes || answer == MessageResult::No ||
                   answer == MessageResult::Cancel;
    }
    return false;
}

}  // namespace

std::string_view answerName(MessageResult answer) {
    constexpr std::array<std::string_view, 5> kNames = {"OK", "Cancel", "Yes", "No", "Retry"};
    return kNames[static_cast<std::size_t>(answer)];
}

MessageResult answerFromName(std::string_view name) {
    for (int i = 0; i < 5; ++i) {
        if (answerName(static_cast<MessageResult>(i)) == name)
            return static_cast<MessageResult>(i);
    }
    return MessageResult::Cancel;
}

MessageResult ScriptDialogs::messageBox(const std::string& text, const std::string& caption,
                                        MessageIcon icon, MessageButtons buttons) {
    shown_.push_back({caption, text, icon});
    // A box without a caption is its text alone.
    if (!caption.empty())
        out_ << '[' << caption << "] ";
    out_ << text << std::endl;
    if (note_) {
        if (const std::string note = note_(text); !note.empty())
            out_ << note << std::endl;
    }
    // A box with one button asks nothing, so it leaves the queued answers to the next question.
    if (buttons == MessageButtons::Ok)
        return MessageResult::Ok;
    if (!answers_.empty()) {
        const MessageResult answer = answers_.front();
        answers_.pop_front();
        if (fits(buttons, answer))
            return answer;
        misfit_ =
            "the answer " + std::string(answerName(answer)) + " is not a button of '" + text + "'";
    }
    if (buttons == MessageButtons::RetryCancel && retries_ > 0) {
        --retries_;
        if (retryPump_ != nullptr)
            PumpDelay(*retryPump_, retryDelayMs_);
        return MessageResult::Retry;
    }
    switch (buttons) {
        case MessageButtons::OkCancel:
            return yes_ ? MessageResult::Ok : MessageResult::Cancel;
        case MessageButtons::YesNo:
            return yes_ ? MessageResult::Yes : MessageResult::No;
        default:
            // Nobody can mend the cause between retries, so retrying would never end.
            return MessageResult::Cancel;
    }
}

std::optional<std::string> ScriptDialogs::nextFile() {
    if (files_.empty())
        return std::nullopt;
    auto path = std::move(files_.front());
    files_.pop_front();
    return path;
}

std::optional<std::string> ScriptDialogs::openFileName(const std::string&, const std::string&) {
    return nextFile();
}

std::optional<std::string> ScriptDialogs::saveFileName(const std::string&, const std::string&,
                                                       const std::string&) {
    return nextFile();
}

void ScriptDialogs::showModal(WindowId window) {
    modal_.push_back(window);
}

void ScriptDialogs::closeModal(WindowId window) {
    const auto it = std::find(modal_.rbegin(), modal_.rend(), window);
    if (it != modal_.rend())
        modal_.erase(std::next(it).base());
}

std::optional<WindowId> ScriptDialogs::modalWindow() const {
    if (modal_.empty())
        return std::nullopt;
    return modal_.back();
}

std::string ScriptDialogs::takeMisfit() {
    return std::exchange(misfit_, {});
}

}  // namespace zelar
