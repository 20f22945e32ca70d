#include "ui/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEvent>
#include <QLineEdit>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionFrame>
#include <algorithm>

#include "ui/window_caption.h"

namespace zelar::ui {

namespace {

// Shows the window's contents whole where the screen has room, and scrolls them where it has
// not: its size hint is the contents' own, not a few lines of text as a scroll area's is.
class ContentsArea : public QScrollArea {
  public:
    using QScrollArea::QScrollArea;
    QSize sizeHint() const override {
        const int frame = 2 * frameWidth();
        return widget()->sizeHint() + QSize(frame, frame);
    }
};

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
    auto* area = new ContentsArea(this);
    area->setFrameShape(QFrame::NoFrame);
    // No stop of its own on the way through the window with Tab: it follows the focus.
    area->setFocusPolicy(Qt::NoFocus);
    area->setWidgetResizable(true);
    area->setWidget(takeCentralWidget());
    setCentralWidget(area);
    // The control that takes the focus (the password field at a read, a field a check keeps
    // the focus in) is scrolled into view, so that what is typed is seen.
    connect(qApp, &QApplication::focusChanged, area, [area](QWidget*, QWidget* now) {
        if (now != nullptr && area->widget()->isAncestorOf(now))
            area->ensureWidgetVisible(now);
    });
}

void MainWindow::placeOnScreen() {
    auto* area = static_cast<QScrollArea*>(centralWidget());
    // The contents keep the layout they were made for; a smaller window scrolls them.
    area->widget()->setMinimumSize(area->widget()->sizeHint());
    const QSize whole = sizeHint().expandedTo({widthForCaption(windowTitle()), 0});
    const QScreen* screen = this->screen();
    if (screen == nullptr) {
        setFixedSize(whole);
        return;
    }
    const QRect available = screen->availableGeometry();
    const QMargins frame = frameOf(*this);
    placedWithFrame_ = frame;
    const QSize room = available.size().shrunkBy(frame);
    if (whole.width() <= room.width() && whole.height() <= room.height()) {
        setFixedSize(whole);
    } else {
        // Scroll bars take room from the contents; the window may grow back to its whole size.
        const QSize bars(area->verticalScrollBar()->sizeHint().width(),
                         area->horizontalScrollBar()->sizeHint().height());
        setMinimumSize(minimumSizeHint().boundedTo(room));
        setMaximumSize(whole + bars);
        resize((whole + bars).boundedTo(room));
    }
    QRect placed(QPoint(), size().grownBy(frame));
    placed.moveCenter(available.center());
    // Never beyond the top left corner: there are the title bar and the window's first controls.
    placed.moveTopLeft(
        {std::max(placed.left(), available.left()), std::max(placed.top(), available.top())});
    move(placed.topLeft());
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
