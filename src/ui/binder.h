#pragma once

#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "forms/control_registry.h"
#include "forms/controls.h"
#include "forms/form_main.h"
#include "ui/error_report.h"
#include "ui/focus_keeper.h"
#include "ui/leave_guard.h"

class QWidget;

namespace zelar::ui {

class Binder;

// One model control tied to the widget of the same name. push() shows the model in the widget;
// the widget's user signals write back into the model and then run the control's action.
class Binding : public QObject {
  public:
    Binding(Binder& binder, QWidget& widget);
    ~Binding() override;

    virtual void push() = 0;

    // The user changed the control (typed, picked, toggled, selected) or pressed the button.
    Binding& onChange(std::function<void()> action);
    Binding& onClick(std::function<void()> action) { return onChange(std::move(action)); }
    // The input focus came into the control.
    Binding& onEnter(std::function<void()> action);
    // The list is about to open (a click on it, F4, Alt+Up/Down or Space); the action may
    // change the items before they are shown.
    Binding& onDropDown(std::function<void()> action);
    // The input focus left the control for another control of the same window (another window
    // becoming active is no leaving).
    Binding& onExit(std::function<void()> action);
    // The input focus moved from one of the named controls inside this group to another control
    // of the window that is none of them.
    Binding& onGroupExit(std::vector<std::string_view> members, std::function<void()> action);
    // Each typed character before the control sees it (Enter as U+000D, Backspace as U+0008);
    // false drops the key.
    Binding& onKey(std::function<bool(char32_t key)> filter);
    // Every key pressed while the control has the focus, as a Windows virtual-key code
    // (Enter 13, Escape 27, letters and digits their upper-case character); the control still
    // gets the key.
    Binding& onKeyDown(std::function<void(int keyCode)> action);
    // The widget looks disabled while `busy` holds, whatever the model says; the model keeps
    // its own state, which the widget shows again afterwards.
    Binding& lookDisabledWhile(std::function<bool()> busy);

    QWidget& widget() const { return *widget_; }
    // The name of the control it binds: its widget's, unless it binds no widget of its own.
    virtual QString name() const;

  protected:
    // The model already holds the user's change; runs the action and shows its results.
    void changedByUser();
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Shows the control's enabled and visible state; the focus never moves on to a neighbour.
    void pushCommon(const Control& control);
    void pushVisible(bool visible);
    // Whether the control looks disabled for an operation under way (lookDisabledWhile).
    bool looksBusy() const { return busy_ && busy_(); }
    FocusKeeper& focus();

  private:
    void run(const std::function<void()>& action);
    // Runs a check on leaving for the control the focus went to; a check that keeps the focus
    // keeps the user from that control.
    void runOnLeaving(const std::function<void()>& action, QWidget& to);

    Binder& binder_;
    QPointer<QWidget> widget_;
    std::function<bool()> busy_;
    std::function<void()> change_;
    std::function<void()> enter_;
    std::function<void()> exit_;
    std::function<void()> dropDown_;
    std::function<bool(char32_t)> key_;
    std::function<void(int)> keyDown_;
};

// Ties the window models to their widgets, found by objectName under a window. Handlers run
// through run(): an error they raise is reported, and afterwards every control is pushed.
class Binder {
  public:
    // Each throws std::logic_error when the window has no widget of that name and kind.
    Binding& bind(QWidget& root, const char* name, Edit& control);
    Binding& bind(QWidget& root, const char* name, Label& control);
    Binding& bind(QWidget& root, const char* name, Button& control);
    Binding& bind(QWidget& root, const char* name, CheckBox& control);
    Binding& bind(QWidget& root, const char* name, RadioButton& control);
    Binding& bind(QWidget& root, const char* name, ComboBox& control);
    Binding& bind(QWidget& root, const char* name, Panel& control);
    Binding& bind(QWidget& root, const char* name, TabSheet& control);
    Binding& bind(QWidget& root, const char* name, ProgressBar& control);
    Binding& bind(QWidget& root, const char* name, TreeView& control);
    Binding& bind(QWidget& root, const char* name, StatusBar& control);
    Binding& bind(QWidget& root, const char* name, Table& control);
    Binding& bind(QWidget& root, const char* name, Memo& control);
    Binding& bind(QWidget& root, const char* name, LevelChart& control);
    // Controls from the window models' registry of names, each to the widget of its name.
    Binding& bind(QWidget& root, const NamedControl& control);
    void bindAll(QWidget& root, const std::vector<NamedControl>& controls);
    // The page on view of a page control; bind it after its pages.
    Binding& bindActivePage(QWidget& root, const char* name, Page& active);
    // The window's caption.
    Binding& bindCaption(QWidget& window, const std::string& caption);
    // A control name the handlers want focused; the binder focuses it and clears the request.
    void bindFocusRequest(QWidget& root, std::string& request);

    // The binding of a control of the window, to attach its actions. Throws std::logic_error
    // when it is not bound.
    Binding& at(QWidget& root, const char* name);

    // Shows every model control in its widget.
    void pushAll();
    // Runs a handler through the handler runner, reports what escapes it, then shows the models.
    void run(const std::function<void()>& handler);
    // The same for a handler started from a control of `window`.
    void runFrom(QWidget& window, const std::function<void()>& handler);
    // Whether a handler started from a control of the window has not yet returned: it waits
    // for the modem, and the window must not go away under it.
    bool handlerRunsIn(const QWidget& window) const;
    FocusKeeper& focus() { return focus_; }
    LeaveGuard& leaveGuard() { return leaveGuard_; }
    void setErrorReporter(ErrorReporter reporter) { reporter_ = std::move(reporter); }
    // How handlers are run, so that errors the handlers leave to the front end are dealt with
    // the same way in every front end.
    using HandlerRunner = std::function<void(const std::function<void()>&)>;
    void setHandlerRunner(HandlerRunner runner) { runner_ = std::move(runner); }

  private:
    template <class W>
    W& find(QWidget& root, const char* name);
    Binding& add(std::unique_ptr<Binding> binding);

    std::vector<std::unique_ptr<Binding>> bindings_;
    struct FocusRequest {
        QPointer<QWidget> root;
        std::string* request;
    };
    std::vector<FocusRequest> focusRequests_;
    ErrorReporter reporter_;
    HandlerRunner runner_;
    FocusKeeper focus_;
    LeaveGuard leaveGuard_;
    std::vector<const QWidget*> running_;  // the window of each handler under way
    bool pushing_ = false;
};

}  // namespace zelar::ui
