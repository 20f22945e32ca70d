#pragma once

#include <span>
#include <string_view>

#include "app/core/app.h"

namespace zelar {

// The windows whose controls react to the user.
enum class FormId { Main, Setup, Ussd, Archive };

// A handler's outcome: false when the operation it started failed (a failed exchange, a refusal
// by a check or by the rights); rules that start no operation give true.
using ControlHandler = bool (*)(App& app);
using KeyDownHandler = bool (*)(App& app, int keyCode);

// What one control reacts to. The window and the script driver both read this table; neither
// adds a rule of its own.
struct ControlEvents {
    FormId form;
    std::string_view name;
    // A button, check box or radio button clicked (its model already shows the new state).
    ControlHandler click = nullptr;
    // A list item picked or a tree node selected (the model already holds the selection).
    ControlHandler change = nullptr;
    // The input focus came into the control.
    ControlHandler enter = nullptr;
    // The input focus left the control; for a group, left every control inside it.
    ControlHandler exit = nullptr;
    // A key pressed while the control has the focus, as a Windows virtual-key code.
    KeyDownHandler keyDown = nullptr;
    // A pick list is about to open; the handler may change its items first.
    ControlHandler dropDown = nullptr;
    // The handler starts an operation on the link or opens a window (a file dialog, a window
    // of its own, a box with a login's answer). While an operation holds the link the control
    // does nothing and, when it is clicked or picked, looks disabled: a window opened now would
    // hold the operation, and the port with it, until it closed, and a second operation would
    // find the link taken. Every such control is declared here, so that each front end keeps
    // the rule in one place (`actsNow`).
    bool startsOperation = false;
    // An operation's own control (its "Отмена"): while the link is held it acts only when this
    // says the operation holding the link is its own, and looks disabled otherwise, since it
    // would do nothing.
    bool (*ownsOperation)(const App& app) = nullptr;
};

// Whether the control's handlers may run now: false, while an operation holds the link, for a
// control that starts an operation or opens a window, and for another operation's own control.
bool actsNow(const App& app, const ControlEvents& events);

std::span<const ControlEvents> controlEventTable();
// Nothing when the control reacts to no event.
const ControlEvents* findControlEvents(FormId form, std::string_view name);

// The controls inside a group that has an exit rule: the focus leaves the group when it moves
// from one of these to a control that is not one of them. Empty for other controls.
std::span<const std::string_view> groupMembers(FormId form, std::string_view group);

}  // namespace zelar
