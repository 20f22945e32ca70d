#include "settings_report.h"

#include "app/show_settings.h"
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

    out << "[modem]\n";
    for (const auto& page : {simPageControls(m), gprsPageControls(m), objectPageControls(m),
                             voiceCallPageControls(m)}) {
        controls(out, page, withState);
    }
    controls(out, {{"ComBoxWorkAs", &app.setup.ComBoxWorkAs}}, withState);

    for (int n = 1; n <= kUserCount; ++n) {
        ShowUserSettings(app, n);
        out << "[user " << n << "]\n";
        controls(out, userPageControls(m), withState);
    }
    out.flush();
}

}  // namespace zelar::cli
