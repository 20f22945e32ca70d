#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>
#include <map>

#include "platform/dialogs.h"

namespace zelar::ui {

// Message boxes, file dialogs and the program's modal windows, over the main window.
class QtDialogs : public Dialogs {
  public:
    explicit QtDialogs(QWidget& mainWindow);

    void addWindow(WindowId id, QWidget& window);
    // Run when the window is about to be shown and once it has been closed.
    void setWindowEvents(WindowId id, std::function<void()> shown, std::function<void()> closed);
    // Runs before any box, file dialog or window is shown, so that the windows under it show
    // what the models already hold while it waits for the user.
    void setBeforeShow(std::function<void()> action) { beforeShow_ = std::move(action); }

    MessageResult messageBox(const std::string& text, const std::string& caption, MessageIcon icon,
                             MessageButtons buttons) override;
    std::optional<std::string> openFileName(const std::string& filter,
                                            const std::string& fileName) override;
    std::optional<std::string> saveFileName(const std::string& filter,
                                            const std::string& defaultExtension,
                                            const std::string& fileName) override;
    void showModal(WindowId window) override;
    void closeModal(WindowId window) override;
    void showTable(const std::string& caption, const std::vector<std::string>& headers,
                   const std::vector<std::vector<std::string>>& rows) override;

  private:
    void beforeShow() const;

    QPointer<QWidget> main_;
    std::function<void()> beforeShow_;
    std::map<WindowId, QPointer<QWidget>> windows_;
    std::map<WindowId, std::pair<std::function<void()>, std::function<void()>>> events_;
};

}  // namespace zelar::ui
