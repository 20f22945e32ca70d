#pragma once

#include <ostream>

#include "platform/dialogs.h"

namespace zelar::cli {

// Message boxes as lines "[caption] text" on a stream; no windows, no file dialogs.
class ConsoleDialogs : public Dialogs {
  public:
    ConsoleDialogs(std::ostream& out, bool yes) : out_(out), yes_(yes) {}

    MessageResult messageBox(const std::string& text, const std::string& caption, MessageIcon icon,
                             MessageButtons buttons) override;
    std::optional<std::string> openFileName(const std::string& filter) override;
    std::optional<std::string> saveFileName(const std::string& filter,
                                            const std::string& defaultExtension) override;
    void showModal(WindowId window) override;
    void closeModal(WindowId window) override;

  private:
    std::ostream& out_;
    bool yes_;
};

}  // namespace zelar::cli
