#include "ui/window_bindings.h"

#include <QMetaObject>
#include <string>

#include "forms/control_registry.h"

namespace zelar::ui {

void bindMainWindow(Binder& b, QWidget& w, App& app) {
    TformMain& m = app.main;

    b.bindAll(w, shellControls(m));
    b.bindAll(w, menuControls(m));
    // "Выход" is the window's own close: refused, as the close button is, while an operation
    // started from the window runs.
    b.at(w, "MenuExit").onClick([&w] {
        QMetaObject::invokeMethod(&w, &QWidget::close, Qt::QueuedConnection);
    });
    b.bindAll(w, userPageControls(m));
    b.bindAll(w, simPageControls(m));
    b.bindAll(w, gprsPageControls(m));
    b.bindAll(w, objectPageControls(m));
    b.bindAll(w, voiceCallPageControls(m));
    b.bindAll(w, diagnosticsPageControls(m));
    b.bind(w, "ChartSignal", m.ChartSignal);
    // After the pages: which page is on view depends on which tabs are shown.
    b.bindActivePage(w, "PageControl1", m.activePage);
    b.bindFocusRequest(w, m.focusRequest);
    b.bindCaption(w, m.caption);
}

void bindSetupWindow(Binder& b, QWidget& w, TformSetup& setup) {
    b.bindAll(w, setupWindowControls(setup));
}

void bindUssdDialog(Binder& b, QWidget& w, TFormUSSD& ussd) {
    b.bindAll(w, ussdDialogControls(ussd));
}

void bindLogWindow(Binder& b, QWidget& w, TFormInit& log) {
    b.bindAll(w, logWindowControls(log));
}

void bindArchiveWindow(Binder& b, QWidget& w, TformArchive& archive) {
    b.bindAll(w, archiveWindowControls(archive));
    b.bind(w, "GridModems", archive.GridModems);
    b.bind(w, "GridVisits", archive.GridVisits);
    b.bindCaption(w, archive.caption);
}

void bindControlEvents(Binder& b, QWidget& w, FormId form, App& app) {
    for (const ControlEvents& events : controlEventTable()) {
        if (events.form != form)
            continue;
        Binding& binding = b.at(w, std::string(events.name).c_str());
        const auto run = [&app, &events](ControlHandler handler) {
            return [&app, &events, handler] {
                if (actsNow(app, events))
                    handler(app);
            };
        };
        if (events.click != nullptr)
            binding.onChange(run(events.click));
        if (events.change != nullptr)
            binding.onChange(run(events.change));
        if (events.enter != nullptr)
            binding.onEnter(run(events.enter));
        if (events.dropDown != nullptr)
            binding.onDropDown(run(events.dropDown));
        if (events.exit != nullptr) {
            const auto members = groupMembers(form, events.name);
            if (members.empty())
                binding.onExit(run(events.exit));
            else
                binding.onGroupExit({members.begin(), members.end()}, run(events.exit));
        }
        if (events.keyDown != nullptr) {
            binding.onKeyDown([&app, &events](int key) {
                if (actsNow(app, events))
                    events.keyDown(app, key);
            });
        }
        // A field keeps taking what is typed; only its key's action waits.
        const bool waits = events.startsOperation || events.ownsOperation != nullptr;
        if (waits && (events.click != nullptr || events.change != nullptr))
            binding.lookDisabledWhile([&app, &events] { return !actsNow(app, events); });
    }
}

}  // namespace zelar::ui
