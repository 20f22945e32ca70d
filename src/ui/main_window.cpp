#include "ui/main_window.h"

#include <QCloseEvent>
#include <QScreen>

namespace zelar::ui {

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowCloseButtonHint) {
    shell_.setupUi(this);
    userPage_.setupUi(shell_.TabSheet1);
    simPage_.setupUi(shell_.TabSheet2);
    diagnosticsPage_.setupUi(shell_.TabSheet4);
    gprsPage_.setupUi(shell_.TabSheet5);
    objectPage_.setupUi(shell_.TabSheetTests);
    voiceCallPage_.setupUi(shell_.TabSheetECall);

    // The chosen node stays marked while the pages have the focus.
    QPalette palette = shell_.TreeView1->palette();
    for (auto role : {QPalette::Highlight, QPalette::HighlightedText})
        palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
    shell_.TreeView1->setPalette(palette);
}

void MainWindow::placeOnScreen() {
    setFixedSize(sizeHint());
    if (const QScreen* screen = this->screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (shown_)
        return;
    shown_ = true;
    if (onFirstShow)
        onFirstShow();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (onClose)
        onClose();
    event->accept();
}

}  // namespace zelar::ui
