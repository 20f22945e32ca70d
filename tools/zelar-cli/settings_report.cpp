#include "settings_report.h"

#include "app/pages/show_settings.h"
#include "app/pages/voice_object_rules.h"
#include "app/shell/navigation.h"
#include "forms/control_registry.h"

namespace zelar::cli {

namespace {

ReportLine line(const std::string& name, const std::string& value, const Control& control) {
    return {name, value, control.enabled, control.visible};
}

}  // namespace

void addControls(std::vector<ReportLine>& lines, const std::vector<NamedControl>& controls) {
    for (const NamedControl& c : controls)
        lines.push_back(line(c.name, controlValue(c.control), controlBase(c.control)));
}

void addSettingsReport(Report& report, App& app) {
    TformMain& m = app.main;
    addControls(report.section("identification"), {{"StaticTextSN", &m.StaticTextSN},
                                                   {"StaticTextBootVer", &m.StaticTextBootVer},
                                                   {"StaticTextVer", &m.StaticTextVer},
                                                   {"EditIMEI", &m.EditIMEI}});

    auto& status = report.section("status");
    status.push_back(line("StatusBar", m.StatusBar1.text, m.StatusBar1));
    addControls(status, {{"StaticTextInformation", &m.StaticTextInformation}});

    // Only what the window would let this login see: the pages of the nodes it may open.
    const bool modem = mayOpenNode(app, kNodeModem);
    const bool voiceCall = mayOpenNode(app, kNodeVoiceCall);
    const bool workAs = app.setup.ComBoxWorkAs.visible;
    if (modem || voiceCall || workAs) {
        auto& lines = report.section("modem");
        if (modem) {
            for (const auto& page :
                 {simPageControls(m), gprsPageControls(m), objectPageControls(m)})
                addControls(lines, page);
        }
        if (voiceCall)
            addControls(lines, withoutUnreadValues(app, voiceCallPageControls(m)));
        if (workAs)
            addControls(lines, {{"ComBoxWorkAs", &app.setup.ComBoxWorkAs}});
    }

    for (int n = 1; n <= kUserCount; ++n) {
        if (!mayOpenNode(app, n))
            continue;
        ShowUserSettings(app, n);
        addControls(report.section("user " + std::to_string(n)), userPageControls(m));
    }
}

}  // namespace zelar::cli
