#pragma once

#include <optional>
#include <string>
#include <vector>

namespace zelar {

enum class MessageIcon { None, Information, Warning, Error, Question };
enum class MessageButtons { Ok, OkCancel, YesNo, RetryCancel, YesNoCancel };
enum class MessageResult { Ok, Cancel, Yes, No, Retry };

// The windows other than the main one that are shown modally.
enum class WindowId { Setup, Ussd, Log, Archive };

// Message boxes, file dialogs and modal windows.
class Dialogs {
  public:
    virtual ~Dialogs() = default;

    virtual MessageResult messageBox(const std::string& text, const std::string& caption,
                                     MessageIcon icon, MessageButtons buttons) = 0;
    // Filters in the form "Description|*.ext|Description|*.ext"; `fileName` is the name the
    // dialog offers first. Nothing when cancelled.
    virtual std::optional<std::string> openFileName(const std::string& filter,
                                                    const std::string& fileName = {}) = 0;
    virtual std::optional<std::string> saveFileName(const std::string& filter,
                                                    const std::string& defaultExtension,
                                                    const std::string& fileName = {}) = 0;
    // Places the window centred over the main window and shows it until it is closed.
    virtual void showModal(WindowId window) = 0;
    // Closes a window shown modally; its showModal returns.
    virtual void closeModal(WindowId window) = 0;
    // A table to read, closed with OK. Where there is no table to show, a message box with a
    // line a row, the cells apart by " | ".
    virtual void showTable(const std::string& caption, const std::vector<std::string>& headers,
                           const std::vector<std::vector<std::string>>& rows) {
        std::string text;
        for (const auto& row : rows) {
            for (std::size_t i = 0; i < row.size(); ++i)
                text += (i == 0 ? "" : " | ") + row[i];
            text += '\n';
        }
        (void)headers;
        messageBox(text, caption, MessageIcon::None, MessageButtons::Ok);
    }
};

}  // namespace zelar
