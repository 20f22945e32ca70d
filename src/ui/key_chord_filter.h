#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <set>

#include "app/shell/key_chords.h"

namespace zelar::ui {

// Installed on the application: hands every key press meant for the main window to
// `onKeyDown` before the focused control gets it, with the state of Ctrl, Alt and the
// function keys held at that moment.
class KeyChordFilter : public QObject {
  public:
    explicit KeyChordFilter(QWidget& mainWindow);

    std::function<void(const KeyPress&)> onKeyDown;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QPointer<QWidget> main_;
    std::set<int> heldFunctionKeys_;
};

}  // namespace zelar::ui
