#include "ui/binder.h"

#include "ui/key_codes.h"

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <stdexcept>
#include <variant>

namespace zelar::ui {

Binding::Binding(Binder& binder, QWidget& widget) : binder_(binder), widget_(&widget) {}

Binding::~Binding() {
    if (widget_)
        widget_->removeEventFilter(this);
}

Binding& Binding::onChange(std::function<void()> action) {
    change_ = std::move(action);
    return *this;
}

Binding& Binding::onEnter(std::function<void()> action) {
    enter_ = std::move(action);
    widget_->installEventFilter(this);
    return *this;
}

Binding& Binding::onDropDown(std::function<void()> action) {
    dropDown_ = std::move(action);
    widget_->installEventFilter(this);
    return *this;
}

namespace {

// Leaving a control means that the focus went to another control of the same window: not to
// another window (a box, a window opened by a key chord, another program), nor to the window
// itself, where it waits while the program has taken its control away.
bool leftForAnotherControl(const QWidget& from, const QWidget* to) {
    return to != nullptr && to != &from && !to->isWindow() && to->window() == from.window();
}

}  // namespace

Binding& Binding::onGroupExit(std::vector<std::string_view> members, std::function<void()> action) {
    // A group never has the focus itself, so it watches where the focus goes.
    const auto inGroup = [this, members = std::move(members)](const QWidget* w) {
        if (w == nullptr || !widget_ || !widget_->isAncestorOf(w))
            return false;
        const std::string name = w->objectName().toStdString();
        return std::find(members.begin(), members.end(), name) != members.end();
    };
    connect(qApp, &QApplication::focusChanged, this,
            [this, inGroup, action = std::move(action)](QWidget* from, QWidget* to) {
                if (inGroup(from) && leftForAnotherControl(*from, to) && !inGroup(to))
                    runOnLeaving(action, *to);
            });
    return *this;
}

Binding& Binding::onExit(std::function<void()> action) {
    exit_ = std::move(action);
    widget_->installEventFilter(this);
    return *this;
}

Binding& Binding::onKey(std::function<bool(char32_t key)> filter) {
    key_ = std::move(filter);
    widget_->installEventFilter(this);
    return *this;
}

Binding& Binding::onKeyDown(std::function<void(int keyCode)> action) {
    keyDown_ = std::move(action);
    widget_->installEventFilter(this);
    return *this;
}

Binding& Binding::lookDisabledWhile(std::function<bool()> busy) {
    busy_ = std::move(busy);
    return *this;
}

void Binding::changedByUser() {
    run(change_ ? change_ : [] {});
}

void Binding::runOnLeaving(const std::function<void()>& action, QWidget& to) {
    const QPointer<QWidget> target(&to);
    run(action);
    if (target && target->window()->focusWidget() != target)
        binder_.leaveGuard().refused(*target);
}

void Binding::run(const std::function<void()>& action) {
    if (widget_)
        binder_.runFrom(*widget_->window(), action);
}

QString Binding::name() const {
    return widget_ ? widget_->objectName() : QString();
}

void Binding::pushCommon(const Control& control) {
    const bool enabled = control.enabled && !looksBusy();
    if (widget_->testAttribute(Qt::WA_Disabled) == enabled)
        binder_.focus().setEnabled(*widget_, enabled);
    pushVisible(control.visible);
}

FocusKeeper& Binding::focus() {
    return binder_.focus();
}

void Binding::pushVisible(bool visible) {
    if (widget_->isHidden() == visible)
        binder_.focus().setVisible(*widget_, visible);
}

namespace {

// The mouse and keys that open a pick list, seen before the list handles them.
bool opensList(const QEvent& event) {
    if (event.type() == QEvent::MouseButtonPress)
        return static_cast<const QMouseEvent&>(event).button() == Qt::LeftButton;
    if (event.type() != QEvent::KeyPress)
        return false;
    const auto& press = static_cast<const QKeyEvent&>(event);
    const bool alt = press.modifiers().testFlag(Qt::AltModifier);
    return press.key() == Qt::Key_F4 || press.key() == Qt::Key_Space ||
           (alt && (press.key() == Qt::Key_Down || press.key() == Qt::Key_Up));
}

}  // namespace

bool Binding::eventFilter(QObject* watched, QEvent* event) {
    if (watched != widget_)
        return false;
    if (dropDown_ && opensList(*event))
        run(dropDown_);
    if (event->type() == QEvent::FocusIn && enter_) {
        run(enter_);
    } else if (event->type() == QEvent::FocusOut && exit_) {
        // The control that has the focus now is set before the old one hears of its loss.
        if (QWidget* to = QApplication::focusWidget(); leftForAnotherControl(*widget_, to))
            runOnLeaving(exit_, *to);
    } else if (event->type() == QEvent::KeyPress) {
        const auto& press = static_cast<const QKeyEvent&>(*event);
        if (keyDown_) {
            if (const int code = virtualKeyCode(press.key()); code != 0)
                run([&] { keyDown_(code); });
        }
        if (!key_)
            return false;
        const QString text = press.text();
        bool accepted = true;
        run([&] {
            for (const char32_t key : text.toUcs4())
                accepted = accepted && key_(key);
        });
        if (!accepted)
            return true;
    }
    return false;
}

namespace {

// Brings the pages that hold `control` on view, in every page control around it, and focuses it.
void focusOnItsPage(QWidget& control) {
    for (QWidget* w = &control; w != nullptr && !w->isWindow(); w = w->parentWidget()) {
        auto* stack = qobject_cast<QStackedWidget*>(w->parentWidget());
        auto* tabs = stack != nullptr ? qobject_cast<QTabWidget*>(stack->parentWidget()) : nullptr;
        if (tabs == nullptr)
            continue;
        const int index = tabs->indexOf(w);
        if (index >= 0 && tabs->isTabVisible(index) && tabs->isTabEnabled(index))
            tabs->setCurrentIndex(index);
    }
    if (control.isVisible())
        control.setFocus(Qt::OtherFocusReason);
}

// A control that a handler keeps the focus in may be on a page the user has just left: a box
// shown by a check on leaving comes while the page control is still changing pages. Once that
// change is done, the control's page is brought back.
void focusRequested(QWidget& control) {
    if (control.isVisible())
        control.setFocus(Qt::OtherFocusReason);
    QTimer::singleShot(0, &control, [c = QPointer<QWidget>(&control)] {
        if (c && !c->isVisible())
            focusOnItsPage(*c);
    });
}

}  // namespace

Binding& Binder::add(std::unique_ptr<Binding> binding) {
    bindings_.push_back(std::move(binding));
    return *bindings_.back();
}

void Binder::bindFocusRequest(QWidget& root, std::string& request) {
    focusRequests_.push_back({&root, &request});
}

void Binder::pushAll() {
    if (pushing_)
        return;
    pushing_ = true;
    for (const auto& binding : bindings_)
        binding->push();
    for (FocusRequest& focus : focusRequests_) {
        if (focus.request->empty() || !focus.root)
            continue;
        const QString name = QString::fromStdString(*focus.request);
        focus.request->clear();
        if (auto* target = focus.root->findChild<QWidget*>(name))
            focusRequested(*target);
    }
    pushing_ = false;
}

void Binder::run(const std::function<void()>& handler) {
    runReported(reporter_, [&] {
        if (runner_)
            runner_(handler);
        else
            handler();
    });
    pushAll();
}

void Binder::runFrom(QWidget& window, const std::function<void()>& handler) {
    running_.push_back(&window);
    // Nothing escapes run(), so the window is always taken off again.
    run(handler);
    running_.pop_back();
}

bool Binder::handlerRunsIn(const QWidget& window) const {
    return std::find(running_.begin(), running_.end(), &window) != running_.end();
}

Binding& Binder::bind(QWidget& root, const NamedControl& named) {
    return std::visit([&](auto* control) -> Binding& { return bind(root, named.name, *control); },
                      named.control);
}

void Binder::bindAll(QWidget& root, const std::vector<NamedControl>& controls) {
    for (const NamedControl& control : controls)
        bind(root, control);
}

Binding& Binder::at(QWidget& root, const char* name) {
    for (const auto& binding : bindings_) {
        const QWidget& widget = binding->widget();
        if (binding->name() == QLatin1String(name) &&
            (&widget == &root || root.isAncestorOf(&widget))) {
            return *binding;
        }
    }
    throw std::logic_error(std::string("no control bound by the name ") + name);
}

}  // namespace zelar::ui
