#pragma once

#include <QPointer>
#include <QWidget>
#include <map>

#include "platform/dialogs.h"

namespace zelar::ui {

// Message boxes, file dialogs and the program's modal windows, over the main window.
class QtDialogs : public Dialogs {
  public:
    explicit QtDialogs(QWidget& mainWindow);

    void addWindow(WindowId id, QWidget& window);

    MessageResult messageBox(const std::string& text, const std::string& caption, MessageIcon icon,
                             MessageButtons buttons) override;
    std::optional<std::string> openFileName(const std::string& filter) override;
    std::optional<std::string> saveFileName(const std::string& filter,
                                            const std::string& defaultExtension) override;
    void showModal(WindowId window) override;
    void closeModal(WindowId window) override;

  private:
    QPointer<QWidget> main_;
    std::map<WindowId, QPointer<QWidget>> windows_;
};

}  // namespace zelar::ui
