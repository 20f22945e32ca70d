#include "ui/key_chord_filter.h"

#include <QApplication>
#include <QKeyEvent>

namespace zelar::ui {

namespace {

int functionKeyNumber(int key) {
    return key >= Qt::Key_F1 && key <= Qt::Key_F12 ? key - Qt::Key_F1 + 1 : 0;
}

int mainKeyboardDigit(const QKeyEvent& event) {
    if (event.modifiers() & Qt::KeypadModifier)
        return -1;
    const int key = event.key();
    return key >= Qt::Key_0 && key <= Qt::Key_9 ? key - Qt::Key_0 : -1;
}

// The focused control of the window, or the window itself when nothing in it has focus.
bool isFirstReceiver(QWidget& widget) {
    QWidget* window = widget.window();
    QWidget* focus = window->focusWidget();
    return &widget == (focus != nullptr ? focus : window);
}

}  // namespace

KeyChordFilter::KeyChordFilter(QWidget& mainWindow) : main_(&mainWindow) {}

bool KeyChordFilter::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::ApplicationDeactivate) {
        heldFunctionKeys_.clear();
        return false;
    }
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease)
        return false;
    const auto& key = static_cast<const QKeyEvent&>(*event);
    const int function = functionKeyNumber(key.key());
    if (type == QEvent::KeyRelease) {
        if (function != 0 && !key.isAutoRepeat())
            heldFunctionKeys_.erase(function);
        return false;
    }
    // A key press travels up from the focused control to its window; it counts once, at the
    // first receiver. The parents may get it only after a window that the chord opened has
    // closed, when the key is long released, so they must not record it again.
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr || !isFirstReceiver(*widget))
        return false;
    if (function != 0)
        heldFunctionKeys_.insert(function);
    if (!main_ || widget->window() != main_)
        return false;

    KeyPress press;
    press.ctrl = (key.modifiers() & Qt::ControlModifier) || key.key() == Qt::Key_Control;
    press.alt = (key.modifiers() & Qt::AltModifier) || key.key() == Qt::Key_Alt;
    press.digit = mainKeyboardDigit(key);
    press.functionKey = function;
    press.functionKeysHeld.assign(heldFunctionKeys_.begin(), heldFunctionKeys_.end());
    if (onKeyDown)
        onKeyDown(press);
    return false;
}

}  // namespace zelar::ui
