#pragma once

#include <optional>
#include <string>

namespace zelar {

enum class MessageIcon { None, Information, Warning, Error, Question };
enum class MessageButtons { Ok, OkCancel, YesNo, RetryCancel };
enum class MessageResult { Ok, Cancel, Yes, No, Retry };

// The windows other than the main one that are shown modally.
enum class WindowId { Setup, Ussd, Log };

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
};

}  // namespace zelar
