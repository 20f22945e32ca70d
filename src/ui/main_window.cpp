#include "ui/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QStyleOptionFrame>
#include <algorithm>

#include "ui/screen_fit.h"
#include "ui/window_caption.h"

namespace zelar::ui {

namespace {

// The frame the window manager puts round the window; none until it has been shown.
QMargins frameOf(const QWidget& window) {
    const QRect frame = window.frameGeometry();
    const QRect inside = window.geometry();
    return {inside.left() - frame.left(), inside.top() - frame.top(),
            frame.right() - inside.right(), frame.bottom() - inside.bottom()};
}

// A line edit draws its text this far inside its contents.
constexpr int kLineEditTextIndent = 2;

// A field width that shows `sample` whole.
int widthFor(const QLineEdit& edit, const QString& sample) {
    const QMargins text = edit.textMargins();
    QStyleOptionFrame option;
    option.initFrom(&edit);
    option.lineWidth = edit.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &edit);
    const int inner = edit.fontMetrics().horizontalAdvance(sample) + 2 * kLineEditTextIndent +
                      text.left() + text.right();
    return edit.style()
        ->sizeFromContents(QStyle::CT_LineEdit, &option, QSize(inner, edit.height()), &edit)
        .width();
}

// A pick list width that shows `sample` whole in its box.
int widthFor(const QComboBox& box, const QString& sample) {
    QStyleOptionComboBox option;
    option.initFrom(&box);
    const QSize text(box.fontMetrics().horizontalAdvance(sample), box.fontMetrics().height());
    return box.style()->sizeFromContents(QStyle::CT_ComboBox, &option, text, &box).width();
}

}  // namespace

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

    // The identification lines read as one column of text: the IMEI line's text starts where
    // the labels above start, and it is no stop on the way through the window with Tab.
    shell_.EditIMEI->setTextMargins(-kLineEditTextIndent, 0, 0, 0);
    shell_.EditIMEI->setFocusPolicy(Qt::ClickFocus);

    // Access point names, logins, passwords and server names hold up to 24 characters; the
    // fields show a name of that length in ordinary letters, as operators give them, whole.
    const QString longest = QStringLiteral("apn.example-operator.net");
    for (QLineEdit* edit : {simPage_.EditSim1APN, simPage_.EditSim1NAME, simPage_.EditSim1PASS,
                            simPage_.EditSim2APN, simPage_.EditSim2NAME, simPage_.EditSim2PASS,
                            gprsPage_.EditGPRSWWW1, gprsPage_.EditGPRSWWW2}) {
        edit->setMinimumWidth(std::max(edit->minimumWidth(), widthFor(*edit, longest)));
    }

    // "Найти модем" shows the modem that answered beside the port's name in the port list.
    QComboBox& ports = *shell_.ComboBox1;
    ports.setMinimumWidth(std::max(ports.minimumWidth(),
                                   widthFor(ports, QStringLiteral("COM200 — № 7204518, ПО 2.05"))));
    // Tab goes through the top row, the tree and the login, then the page on view, and ends
    // at the buttons below the pages, as the eye reads the window.
    QWidget* last = shell_.ButtonWriteNastr;
    while (last->nextInFocusChain() != this)
        last = last->nextInFocusChain();
    QWidget::setTabOrder(last, shell_.BitBtnTest);
    QWidget::setTabOrder(shell_.BitBtnTest, shell_.ButtonWriteNastr);

    // The display mode hides the empty holder beside the progress bar; the top row keeps still.
    QSizePolicy holder = shell_.PanelExpert3->sizePolicy();
    holder.setRetainSizeWhenHidden(true);
    shell_.PanelExpert3->setSizePolicy(holder);

    // On a small screen, or at a large scaling, the window is smaller than its contents, which
    // then scroll: every control stays within reach.
    auto* area = new ContentsArea(takeCentralWidget());
    setCentralWidget(area);
}

void MainWindow::placeOnScreen() {
    auto* area = static_cast<ContentsArea*>(centralWidget());
    // The contents keep the layout they were made for; a smaller window scrolls them.
    area->widget()->setMinimumSize(area->widget()->sizeHint());
    // Contents that grew once shown (a list's items) must reach the window's size hint.
    area->updateGeometry();
    const QSize whole = sizeHint().expandedTo({widthForCaption(windowTitle()), 0});
    const QScreen* screen = this->screen();
    if (screen == nullptr) {
        setFixedSize(whole);
        return;
    }
    const QRect available = screen->availableGeometry();
    const QMargins frame = frameOf(*this);
    placedWithFrame_ = frame;
    fitInto(*this, *area, whole, roomOn(*screen, frame));
    QRect placed(QPoint(), size().grownBy(frame));
    placed.moveCenter(available.center());
    move(keptWithin(placed, available));
}

void MainWindow::followFrame() {
    // The window manager's frame is known once it has framed the shown window; the place
    // chosen before then may have left the frame's edge beyond the screen.
    if (frameOf(*this) != placedWithFrame_)
        placeOnScreen();
}

void MainWindow::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    if (shown_)
        followFrame();
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (shown_)
        return;
    shown_ = true;
    followFrame();
    if (onFirstShow)
        onFirstShow();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (canClose && !canClose()) {
        event->ignore();
        return;
    }
    if (onClose)
        onClose();
    event->accept();
}

}  // namespace zelar::ui
