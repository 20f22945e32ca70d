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
    b.bindAll(w, simPageControls(m));
    b.bindAll(w, gprsPageControls(m));
    b.bindAll(w, objectPageControls(m));
    b.bindAll(w, voiceCallPageControls(m));
    b.bindAll(w, diagnosticsPageControls(m));
    // After the pages: which page is on view depends on which tabs are shown.
    b.bindActivePage(w, "PageControl1", m.activePage);
    b.bindFocusRequest(w, m.focusRequest);

    b.at(w, "cbExpert").onChange([&app] { cbExpertChange(app); });
    b.at(w, "TreeView1").onChange([&app] { TreeView1Changing(app, app.main.TreeView1.selected); });
    b.at(w, "btnReadNastUser").onClick([&app] { btnReadNastUserClick(app); });
    b.at(w, "ButtonApplyPassword").onClick([&app] { ButtonApplyPasswordClick(app); });
    b.at(w, "EditPassword").onKeyDown([&app](int key) { EditPasswordKeyDown(app, key); });
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

}  // namespace zelar::ui
