#include "ui/leave_guard.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>

namespace zelar::ui {

namespace {

bool within(const QWidget* area, const QObject* object) {
    const auto* widget = qobject_cast<const QWidget*>(object);
    return area != nullptr && widget != nullptr && (widget == area || area->isAncestorOf(widget));
}

}  // namespace

LeaveGuard::LeaveGuard() {
    qApp->installEventFilter(this);
}

LeaveGuard::~LeaveGuard() {
    qApp->removeEventFilter(this);
}

void LeaveGuard::refused(QWidget& target) {
    refused_ = &target;
    // The press that moved the focus reaches its control right after the focus moved; later
    // events are the user's next try.
    QTimer::singleShot(0, this, [this] { refused_ = nullptr; });
}

bool LeaveGuard::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            if (!within(refused_, watched))
                return false;
            pressed_ = refused_;
            return true;
        case QEvent::MouseButtonRelease:
            if (!within(pressed_, watched))
                return false;
            pressed_ = nullptr;
            return true;
        case QEvent::Shortcut: {
            // An Alt letter acts on its control only once the focus could go there: a check on
            // leaving the field that has it may keep it.
            auto* target = qobject_cast<QWidget*>(watched);
            if (target == nullptr || target->hasFocus() || target->focusPolicy() == Qt::NoFocus)
                return false;
            target->setFocus(Qt::ShortcutFocusReason);
            return within(refused_, target);
        }
        default:
            return false;
    }
}

}  // namespace zelar::ui
