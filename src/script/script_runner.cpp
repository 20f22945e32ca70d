#include "script/script_runner.h"

#include <algorithm>
#include <array>
#include <utility>

#include "app/core/handler_guard.h"
#include "app/pages/voice_object_rules.h"
#include "app/shell/login.h"
#include "app/shell/navigation.h"
#include "forms/control_containers.h"
#include "forms/control_registry.h"
#include "platform/event_pump.h"
#include "text/cp1251.h"
#include "text/hex.h"
#include "text/padding.h"

namespace zelar {

namespace {

constexpr std::string_view kPageControl = "PageControl1";
// How often a wait asks whether the script is to stop: a signal is answered within this.
constexpr int kStopCheckMs = 100;

// List items and tree nodes are padded with blanks; a script names them without.
std::string_view trimRight(std::string_view s) {
    while (!s.empty() && s.back() == ' ')
        s.remove_suffix(1);
    return s;
}

bool contains(std::span<const std::string_view> list, std::string_view name) {
    return std::find(list.begin(), list.end(), name) != list.end();
}

// How the value `text`, typed into the field `name` as `typed`, would not come back from the
// modem as it is; empty when it would. Every text that takes a blank is padded with blanks and
// given back up to its first one (the fields padded with NULs take digits only).
std::string exactValueChange(const std::string& name, const std::string& text,
                             const std::string& typed) {
    if (typed != text)
        return name + " would take \"" + text + "\" as \"" + typed +
               "\": it keeps only the characters its keys allow, up to its length";
    const std::string held = name + " would hold \"" + text + "\" as \"";
    // The modem holds Windows-1251: any other character would reach it as '?'.
    if (const std::string kept = cp1251ToUtf8(utf8ToCp1251(text)); kept != text)
        return held + kept + "\": the modem keeps only Windows-1251 characters";
    if (const std::string kept = cutAtFirstSpace(text); kept != text)
        return held + kept + "\": the modem gives a text back up to its first blank";
    return {};
}

// The main window's controls in their order, each part with the page of PageControl1 that
// shows it (none for the shell).
std::vector<std::pair<std::vector<NamedControl>, std::optional<Page>>> mainParts(TformMain& m) {
    return {
        {shellControls(m), std::nullopt},
        {userPageControls(m), Page::TabSheet1},
        {simPageControls(m), Page::TabSheet2},
        {gprsPageControls(m), Page::TabSheet5},
        {objectPageControls(m), Page::TabSheetTests},
        {voiceCallPageControls(m), Page::TabSheetECall},
        {diagnosticsPageControls(m), Page::TabSheet4},
    };
}

}  // namespace

struct ScriptRunner::Found {
    std::string name;
    FormId form = FormId::Main;
    std::optional<Page> page;       // the page of PageControl1 that shows it
    std::optional<ControlRef> ref;  // nothing for PageControl1 itself
};

ScriptRunner::ScriptRunner(App& app, ScriptDialogs& dialogs, std::ostream& out, std::ostream& err)
    : app_(app), dialogs_(dialogs), out_(out), err_(err) {}

std::optional<ScriptRunner::Found> ScriptRunner::find(const std::string& name) const {
    if (name == kPageControl)
        return Found{name, FormId::Main, std::nullopt, std::nullopt};
    for (const auto& [controls, page] : mainParts(app_.main)) {
        for (const NamedControl& c : controls) {
            if (c.name == name)
                return Found{name, FormId::Main, page, c.control};
        }
    }
    const std::pair<std::vector<NamedControl>, FormId> windows[] = {
        {ussdDialogControls(app_.ussd), FormId::Ussd},
        {setupWindowControls(app_.setup), FormId::Setup},
    };
    for (const auto& [controls, form] : windows) {
        for (const NamedControl& c : controls) {
            if (c.name == name)
                return Found{name, form, std::nullopt, c.control};
        }
    }
    return std::nullopt;
}

std::optional<ScriptError> ScriptRunner::checkNames(const std::vector<ScriptLine>& lines) const {
    for (const ScriptLine& line : lines) {
        std::size_t named = 0;
        switch (line.action) {
            case ScriptAction::Select:
            case ScriptAction::Set:
            case ScriptAction::Check:
            case ScriptAction::Click:
            case ScriptAction::Key:
            case ScriptAction::Expect:
                named = 1;
                break;
            case ScriptAction::Dump:
                named = line.args.size();
                break;
            default:
                break;
        }
        for (std::size_t i = 0; i < named; ++i) {
            if (!find(line.args[i]))
                return ScriptError{line.number, "unknown control '" + line.args[i] + "'"};
        }
    }
    return std::nullopt;
}

bool ScriptRunner::logIn(int user, const std::string& password) {
    // A settings file open in place of a modem has nothing to read: the login is against it.
    const bool good =
        app_.source.file ? logInAs(app_, user, password) : readAndLogIn(app_, user, password);
    takeFocusRequest();
    return good;
}

int ScriptRunner::run(const std::vector<ScriptLine>& lines) {
    for (const ScriptLine& line : lines) {
        auto refusal = stopped() ? Refusal{1, kTextScriptStopped} : runLine(line);
        const std::string misfit = dialogs_.takeMisfit();
        if (!refusal && !misfit.empty())
            refusal = Refusal{2, misfit};
        if (refusal) {
            out_.flush();
            err_ << "line " << line.number << ": " << refusal->message << std::endl;
            return refusal->exitCode;
        }
    }
    out_.flush();
    return 0;
}

std::optional<ScriptRunner::Refusal> ScriptRunner::reachable(const Found& c) const {
    const auto modal = dialogs_.modalWindow();
    const bool inActiveWindow = modal ? (*modal == WindowId::Ussd && c.form == FormId::Ussd) ||
                                            (*modal == WindowId::Setup && c.form == FormId::Setup)
                                      : c.form == FormId::Main;
    if (!inActiveWindow)
        return Refusal{2, c.name + " is not in the window that has the input"};
    if (c.ref) {
        const Control& base = controlBase(*c.ref);
        if (!base.visible)
            return Refusal{2, c.name + " is hidden"};
        if (!base.enabled)
            return Refusal{2, c.name + " is disabled"};
    }
    if (c.page && app_.main.activePage != *c.page)
        return Refusal{2, c.name + " is not on the page on view"};
    if (const ControlContainer* group = containerOf(c.name)) {
        const auto holder = find(std::string(group->name));
        if (holder && holder->ref) {
            const Control& base = controlBase(*holder->ref);
            if (!base.visible || !base.enabled) {
                return Refusal{2, c.name + " is inside " + holder->name + ", which is " +
                                      (base.visible ? "disabled" : "hidden")};
            }
        }
    }
    return std::nullopt;
}

bool ScriptRunner::handle(ControlHandler handler) {
    if (handler == nullptr)
        return true;
    // A port error that the handler leaves to the guard fails the operation too.
    bool good = false;
    runHandler(app_, [&] { good = handler(app_); });
    takeFocusRequest();
    return good;
}

void ScriptRunner::takeFocusRequest() {
    // A focus move can run exit rules that ask for the focus again; a few rounds settle it.
    for (int round = 0; round < 8 && !app_.main.focusRequest.empty(); ++round) {
        const std::string name = std::exchange(app_.main.focusRequest, {});
        if (const auto target = find(name))
            moveFocus(*target);
    }
}

void ScriptRunner::moveFocus(const Found& c) {
    if (focused_ == c.name && focusedForm_ == c.form)
        return;
    const std::string old = std::exchange(focused_, c.name);
    const FormId oldForm = std::exchange(focusedForm_, c.form);
    const bool oldExitRan = std::exchange(focusedExitRan_, false);
    const auto run = [this](ControlHandler h) { runHandler(app_, [&] { h(app_); }); };
    if (!old.empty()) {
        const ControlEvents* own = findControlEvents(oldForm, old);
        if (own && own->exit && groupMembers(oldForm, old).empty() && !oldExitRan)
            run(own->exit);
        for (const ControlEvents& group : controlEventTable()) {
            if (group.exit == nullptr || group.form != oldForm)
                continue;
            const auto members = groupMembers(group.form, group.name);
            const bool staysInside = c.form == group.form && contains(members, c.name);
            if (contains(members, old) && !staysInside)
                run(group.exit);
        }
    }
    if (const ControlEvents* own = findControlEvents(c.form, c.name); own && own->enter)
        run(own->enter);
}

std::optional<ScriptRunner::Refusal> ScriptRunner::closedToLogin(const Found& c) const {
    if (c.page && !mayOpenPage(app_, *c.page))
        return Refusal{2, c.name + " is hidden"};
    return std::nullopt;
}

void ScriptRunner::dump(const std::vector<std::string>& names) {
    DumpLines lines;
    if (names.empty()) {
        // What the window lets this login see: the shell and the pages it may open.
        for (const auto& [controls, page] : mainParts(app_.main)) {
            if (page && !mayOpenPage(app_, *page))
                continue;
            for (const NamedControl& c : withoutUnreadValues(app_, controls))
                lines.emplace_back(c.name, controlValue(c.control));
        }
    }
    for (const std::string& name : names) {
        const auto c = find(name);
        lines.emplace_back(
            name, c->ref ? controlValue(*c->ref) : app_.main.page(app_.main.activePage).caption);
    }
    if (dumpSink_) {
        dumpSink_(std::move(lines));
        return;
    }
    for (const auto& [name, value] : lines)
        out_ << name << ": " << value << '\n';
}

const ScriptRunner::ActionRun& ScriptRunner::actionRun(ScriptAction action) {
    using A = ScriptAction;
    using R = ScriptRunner;
    static constexpr std::array kRuns = {
        ActionRun{A::Port, nullptr, &R::selectPort}, ActionRun{A::Select, nullptr, &R::select},
        ActionRun{A::Set, nullptr, &R::set},         ActionRun{A::Check, nullptr, &R::check},
        ActionRun{A::Click, nullptr, &R::click},     ActionRun{A::Key, nullptr, &R::pressEnter},
        ActionRun{A::Answer, &R::answer, nullptr},   ActionRun{A::File, &R::nameFile, nullptr},
        ActionRun{A::Wait, &R::wait, nullptr},       ActionRun{A::Dump, &R::dumpControls, nullptr},
        ActionRun{A::Expect, &R::expect, nullptr},
    };
    static_assert(std::all_of(kScriptActions.begin(), kScriptActions.end(),
                              [](const ScriptActionForm& form) {
                                  return std::any_of(
                                      kRuns.begin(), kRuns.end(),
                                      [&](const ActionRun& r) { return r.action == form.action; });
                              }),
                  "every action the parser takes has a function that runs it");
    return *std::find_if(kRuns.begin(), kRuns.end(),
                         [action](const ActionRun& r) { return r.action == action; });
}

std::optional<ScriptRunner::Refusal> ScriptRunner::runLine(const ScriptLine& line) {
    const ActionRun& run = actionRun(line.action);
    if (run.onLine != nullptr)
        return (this->*run.onLine)(line.args);

    // The rest acts on a control, as a person would.
    const auto c = find(line.action == ScriptAction::Port ? "ComboBox1" : line.args[0]);
    if (const auto refused = reachable(*c))
        return refused;
    if (!c->ref && line.action != ScriptAction::Select)
        return Refusal{2, c->name + " only takes select"};
    return (this->*run.onControl)(*c, line.args);
}

bool ScriptRunner::onEvent(const Found& c, ControlHandler ControlEvents::*event) {
    const ControlEvents* e = findControlEvents(c.form, c.name);
    return e == nullptr || handle(e->*event);
}

ScriptRunner::Refusal ScriptRunner::failed(const Found& c) {
    return Refusal{1, c.name + ": the operation failed"};
}

std::optional<ScriptRunner::Refusal> ScriptRunner::answer(const Args& args) {
    dialogs_.queueAnswer(answerFromName(args[0]));
    return std::nullopt;
}

std::optional<ScriptRunner::Refusal> ScriptRunner::nameFile(const Args& args) {
    dialogs_.queueFile(args[0].empty() ? std::nullopt : std::optional(args[0]));
    return std::nullopt;
}

std::optional<ScriptRunner::Refusal> ScriptRunner::wait(const Args& args) {
    EventPump& pump = app_.services.pump;
    const std::int64_t ms = parseDecimal(args[0]).value_or(0);
    const std::int64_t start = pump.tickMs();
    do {
        if (stopped())
            return Refusal{1, kTextScriptStopped};
        const std::int64_t left = ms - (pump.tickMs() - start);
        PumpDelay(pump, static_cast<int>(std::clamp<std::int64_t>(left, 0, kStopCheckMs)));
    } while (pump.tickMs() - start < ms);
    return std::nullopt;
}

std::optional<ScriptRunner::Refusal> ScriptRunner::dumpControls(const Args& args) {
    for (const std::string& name : args) {
        if (auto hidden = closedToLogin(*find(name)))
            return hidden;
    }
    dump(args);
    return std::nullopt;
}

std::optional<ScriptRunner::Refusal> ScriptRunner::expect(const Args& args) {
    const auto c = find(args[0]);
    if (auto hidden = closedToLogin(*c))
        return hidden;
    const std::string value =
        c->ref ? controlValue(*c->ref) : app_.main.page(app_.main.activePage).caption;
    if (value != args[1])
        return Refusal{1, args[0] + " is \"" + value + "\", expected \"" + args[1] + "\""};
    return std::nullopt;
}

std::optional<ScriptRunner::Refusal> ScriptRunner::selectPort(const Found& c, const Args& args) {
    return choose(c, args[0]);
}

std::optional<ScriptRunner::Refusal> ScriptRunner::select(const Found& c, const Args& args) {
    return choose(c, args[1]);
}

std::optional<ScriptRunner::Refusal> ScriptRunner::choose(const Found& c, const std::string& item) {
    if (!c.ref)
        return selectTab(c, item);
    if (auto* box = std::get_if<ComboBox*>(&*c.ref))
        return selectListItem(c, **box, item);
    if (auto* tree = std::get_if<TreeView*>(&*c.ref))
        return selectNode(c, **tree, item);
    return Refusal{2, c.name + " is not a list"};
}

std::optional<ScriptRunner::Refusal> ScriptRunner::selectTab(const Found& c,
                                                             const std::string& caption) {
    TformMain& m = app_.main;
    for (int i = 0; i < kPageCount; ++i) {
        const TabSheet& sheet = m.page(static_cast<Page>(i));
        if (sheet.tabVisible && trimRight(sheet.caption) == trimRight(caption)) {
            moveFocus(c);
            m.activePage = static_cast<Page>(i);
            return std::nullopt;
        }
    }
    return Refusal{2, "PageControl1 shows no tab \"" + caption + "\""};
}

std::optional<ScriptRunner::Refusal> ScriptRunner::selectListItem(const Found& c, ComboBox& box,
                                                                  const std::string& item) {
    // The list is opened before an item is picked, as a person does.
    moveFocus(c);
    onEvent(c, &ControlEvents::dropDown);
    const auto& items = box.items;
    const auto it = std::find_if(items.begin(), items.end(), [&](const std::string& s) {
        return trimRight(s) == trimRight(item);
    });
    if (it == items.end())
        return Refusal{2, c.name + " has no item \"" + item + "\""};
    moveFocus(c);
    selectItem(box, static_cast<int>(it - items.begin()));
    if (!onEvent(c, &ControlEvents::change))
        return failed(c);
    return std::nullopt;
}

std::optional<ScriptRunner::Refusal> ScriptRunner::selectNode(const Found& c, TreeView& tree,
                                                              const std::string& item) {
    const auto& nodes = tree.nodes;
    const auto it = std::find_if(nodes.begin(), nodes.end(), [&](const TreeNode& n) {
        return trimRight(n.text) == trimRight(item);
    });
    if (it == nodes.end())
        return Refusal{2, c.name + " has no node \"" + item + "\""};
    moveFocus(c);
    tree.selected = static_cast<int>(it - nodes.begin());
    if (!onEvent(c, &ControlEvents::change))
        return failed(c);
    return std::nullopt;
}

std::optional<ScriptRunner::Refusal> ScriptRunner::set(const Found& c, const Args& args) {
    const std::string& text = args[1];
    auto* edit = std::get_if<Edit*>(&*c.ref);
    if (edit == nullptr)
        return Refusal{2, c.name + " is not a text field"};
    if ((*edit)->readOnly)
        return Refusal{2, c.name + " is read-only"};
    if (exactValues_) {
        Edit typed = **edit;
        typeText(typed, text);
        if (std::string changed = exactValueChange(c.name, text, typed.text); !changed.empty())
            return Refusal{2, std::move(changed)};
    }
    moveFocus(c);
    typeText(**edit, text);
    onEvent(c, &ControlEvents::change);
    // The text is complete, so the field's own rule runs now; a group's rule waits until the focus
    // leaves the group.
    if (const ControlEvents* e = findControlEvents(c.form, c.name);
        e && e->exit && groupMembers(c.form, c.name).empty()) {
        focusedExitRan_ = true;
        handle(e->exit);
    }
    return std::nullopt;
}

std::optional<ScriptRunner::Refusal> ScriptRunner::check(const Found& c, const Args& args) {
    const bool want = args[1] == "1";
    if (auto* radio = std::get_if<RadioButton*>(&*c.ref))
        return checkRadioButton(c, **radio, want);
    auto* box = std::get_if<CheckBox*>(&*c.ref);
    if (box == nullptr)
        return Refusal{2, c.name + " is not a check box or radio button"};
    if ((*box)->checked == want)
        return std::nullopt;
    moveFocus(c);
    (*box)->checked = want;
    if (!onEvent(c, &ControlEvents::click))
        return failed(c);
    return std::nullopt;
}

std::optional<ScriptRunner::Refusal> ScriptRunner::checkRadioButton(const Found& c,
                                                                    RadioButton& radio, bool want) {
    if (radio.checked == want)
        return std::nullopt;
    if (!want)
        return Refusal{2, c.name + " is a radio button: check another one of its group"};
    moveFocus(c);
    for (std::string_view other : radioGroupOf(c.name)) {
        if (const auto o = find(std::string(other)); o && o->ref) {
            if (auto* r = std::get_if<RadioButton*>(&*o->ref))
                (*r)->checked = false;
        }
    }
    radio.checked = true;
    if (!onEvent(c, &ControlEvents::click))
        return failed(c);
    return std::nullopt;
}

std::optional<ScriptRunner::Refusal> ScriptRunner::click(const Found& c, const Args&) {
    if (!std::holds_alternative<Button*>(*c.ref))
        return Refusal{2, c.name + " is not a button"};
    moveFocus(c);
    if (!onEvent(c, &ControlEvents::click))
        return failed(c);
    return std::nullopt;
}

std::optional<ScriptRunner::Refusal> ScriptRunner::pressEnter(const Found& c, const Args&) {
    moveFocus(c);
    const ControlEvents* e = findControlEvents(c.form, c.name);
    if (e && e->keyDown) {
        bool good = false;
        runHandler(app_, [&] { good = e->keyDown(app_, 13); });
        takeFocusRequest();
        if (!good)
            return failed(c);
    }
    return std::nullopt;
}

}  // namespace zelar
