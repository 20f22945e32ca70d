#include "settings_report.h"

#include "app/pages/show_settings.h"
#include "app/shell/navigation.h"
#include "forms/control_registry.h"

namespace zelar::cli {

namespace {

void line(std::ostream& out, const std::string& name, const std::string& value,
          const Control& control, bool withState) {
    out << name << ": " << value;
    if (withState) {
        out << (control.enabled ? " [enabled]" : " [disabled]");
        if (!control.visible)
            out << " [hidden]";
    }
    out << '\n';
}

void controls(std::ostream& out, const std::vector<NamedControl>& list, bool withState) {
    for (const NamedControl& c : list) {
        line(out, c.name, controlValue(c.control), controlBase(c.control), withState);
    }
}

}  // namespace

void printSettingsReport(std::ostream& out, App& app, bool withState) {
    TformMain& m = app.main;
    out << "[identification]\n";
    controls(out,
             {{"StaticTextSN", &m.StaticTextSN},
              {"StaticTextBootVer", &m.StaticTextBootVer},
              {"StaticTextVer", &m.StaticTextVer},
              {"EditIMEI", &m.EditIMEI}},
             withState);

    out << "[status]\n";
    line(out, "StatusBar", m.StatusBar1.text, m.StatusBar1, withState);
    controls(out, {{"StaticTextInformation", &m.StaticTextInformation}}, withState);

    // Only what the window would let this login see: the pages of the nodes it may open.
    const bool modem = mayOpenNode(app, kNodeModem);
    const bool voiceCall = mayOpenNode(app, kNodeVoiceCall);
    const bool workAs = app.setup.ComBoxWorkAs.visible;
    if (modem || voiceCall || workAs)
        out << "[modem]\n";
    if (modem) {
        for (const auto& page : {simPageControls(m), gprsPageControls(m), objectPageControls(m)})
            controls(out, page, withState);
    }
    if (voiceCall)
        controls(out, voiceCallPageControls(m), withState);
    if (workAs)
        controls(out, {{"ComBoxWorkAs", &app.setup.ComBoxWorkAs}}, withState);

    for (int n = 1; n <= kUserCount; ++n) {
        if (!mayOpenNode(app, n))
            continue;
        ShowUserSettings(app, n);
        out << "[user " << n << "]\n";
        controls(out, userPageControls(m), withState);
    }
    out.flush();
}

}  // namespace zelar::cli
