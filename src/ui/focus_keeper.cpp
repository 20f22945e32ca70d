#include "ui/focus_keeper.h"

#include <algorithm>

namespace zelar::ui {

void FocusKeeper::setEnabled(QWidget& widget, bool enabled) {
    if (!enabled)
        takeAway(widget);
    widget.setEnabled(enabled);
    if (enabled)
        giveBack(widget);
}

void FocusKeeper::setVisible(QWidget& widget, bool visible) {
    if (!visible)
        takeAway(widget);
    widget.setVisible(visible);
    if (visible)
        giveBack(widget);
}

void FocusKeeper::takeAway(QWidget& widget) {
    QWidget* window = widget.window();
    // The window's own focus, also while another window (a message box) is active.
    QWidget* focus = window->focusWidget();
    if (focus == nullptr || focus == window || (focus != &widget && !widget.isAncestorOf(focus)))
        return;
    std::erase_if(parked_, [&](const Parked& p) { return !p.window || p.window == window; });
    parked_.push_back({window, focus});
    // Qt would hand the focus on to the next control in the chain; the window keeps it instead.
    window->setFocus(Qt::OtherFocusReason);
}

void FocusKeeper::giveBack(QWidget& widget) {
    QWidget* window = widget.window();
    const auto it = std::find_if(parked_.begin(), parked_.end(),
                                 [&](const Parked& p) { return p.window == window; });
    if (it == parked_.end())
        return;
    QWidget* control = it->control;
    if (control == nullptr || window->focusWidget() != window) {
        // Gone, or the user has chosen where the focus is since.
        parked_.erase(it);
        return;
    }
    if (control != &widget && !widget.isAncestorOf(control))
        return;
    if (!control->isEnabled() || !control->isVisibleTo(window))
        return;  // still taken away by another of its holders
    parked_.erase(it);
    control->setFocus(Qt::OtherFocusReason);
}

}  // namespace zelar::ui
