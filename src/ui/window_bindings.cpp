#include "ui/window_bindings.h"

#include "app/display_mode.h"
#include "app/login.h"
#include "app/navigation.h"
#include "app/read_settings.h"
#include "forms/control_registry.h"

namespace zelar::ui {

void bindMainWindow(Binder& b, QWidget& w, App& app) {
    TformMain& m = app.main;

    b.bindAll(w, shellControls(m));
    b.bindAll(w, userPageControls(m));
    // The SIM and diagnostics pages hold only their expert groups so far.
    b.bind(w, "PanelExpert4", m.PanelExpert4);
    b.bind(w, "PanelExpert5", m.PanelExpert5);
    b.bind(w, "PanelExpert6", m.PanelExpert6);
    // After the pages: which page is on view depends on which tabs are shown.
    b.bindActivePage(w, "PageControl1", m.activePage);
    b.bindFocusRequest(w, m.focusRequest);

    b.at(w, "cbExpert").onChange([&app] { cbExpertChange(app); });
    b.at(w, "TreeView1").onChange([&app] { TreeView1Changing(app, app.main.TreeView1.selected); });
    b.at(w, "btnReadNastUser").onClick([&app] { btnReadNastUserClick(app); });
    b.at(w, "ButtonApplyPassword").onClick([&app] { ButtonApplyPasswordClick(app); });
    b.at(w, "EditPassword").onKeyDown([&app](int key) { EditPasswordKeyDown(app, key); });
}

void bindLogWindow(Binder& b, QWidget& w, TFormInit& log) {
    b.bindAll(w, logWindowControls(log));
}

}  // namespace zelar::ui
