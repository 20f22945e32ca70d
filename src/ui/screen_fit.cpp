#include "ui/screen_fit.h"

#include <QApplication>
#include <QEvent>
#include <QLayout>
#include <QScreen>
#include <QScrollBar>
#include <algorithm>
#include <cmath>

namespace zelar::ui {

ContentsArea::ContentsArea(QWidget* contents) {
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(true);
    // No stop of its own on the way through the window with Tab: it follows the focus.
    setFocusPolicy(Qt::NoFocus);
    setWidget(contents);
    // The control that takes the focus (the password field at a read, a field a check keeps
    // the focus in) is scrolled into view, so that what is typed is seen.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now != nullptr && widget()->isAncestorOf(now))
            ensureWidgetVisible(now);
    });
}

bool ContentsArea::eventFilter(QObject* watched, QEvent* event) {
    // Rows shown or hidden change what the window needs.
    if (watched == widget() && event->type() == QEvent::Resize)
        updateGeometry();
    return QScrollArea::eventFilter(watched, event);
}

QSize ContentsArea::sizeHint() const {
    const int frame = 2 * frameWidth();
    return widget()->sizeHint() + QSize(frame, frame);
}

QSize roomOn(const QScreen& screen, const QMargins& frame) {
    const qreal ratio = screen.devicePixelRatio();
    const int rounding = ratio != std::floor(ratio) ? 1 : 0;
    return screen.availableGeometry().size().shrunkBy(
        frame + QMargins(rounding, rounding, rounding, rounding));
}

void fitInto(QWidget& window, const ContentsArea& area, QSize whole, QSize room) {
    QLayout* own = window.inherits("QMainWindow") ? nullptr : window.layout();
    const bool fits = whole.width() <= room.width() && whole.height() <= room.height();
    if (own != nullptr)
        own->setSizeConstraint(fits ? QLayout::SetFixedSize : QLayout::SetDefaultConstraint);
    if (fits) {
        if (own == nullptr)
            window.setFixedSize(whole);
        else
            window.resize(whole);
        return;
    }
    // Scroll bars take room from the contents.
    const QSize bars(area.verticalScrollBar()->sizeHint().width(),
                     area.horizontalScrollBar()->sizeHint().height());
    window.setMinimumSize(window.minimumSizeHint().boundedTo(room));
    window.setMaximumSize(whole + bars);
    window.resize((whole + bars).boundedTo(room));
}

QPoint keptWithin(const QRect& placed, const QRect& available) {
    QRect kept = placed;
    kept.moveRight(std::min(kept.right(), available.right()));
    kept.moveBottom(std::min(kept.bottom(), available.bottom()));
    kept.moveLeft(std::max(kept.left(), available.left()));
    kept.moveTop(std::max(kept.top(), available.top()));
    return kept.topLeft();
}

}  // namespace zelar::ui
