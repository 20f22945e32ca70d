#include "app/pages/gprs_rules.h"

#include "app/core/app.h"

#include <initializer_list>

namespace zelar {

void applyServerAddressFields(TformMain& m, int server) {
    if (server == 2) {
        m.EditGPRSIP2.enabled = !m.RBtnDNS2.checked;
        m.EditGPRSWWW2.enabled = m.RBtnDNS2.checked;
    } else {
        m.EditGPRSIP1.enabled = !m.RBtnDNS1.checked;
        m.EditGPRSWWW1.enabled = m.RBtnDNS1.checked;
    }
}

void setDnsServerFields(TformMain& m, bool enabled) {
    setEnabled({&m.EditGPRSDNS1, &m.EditGPRSDNS2, &m.LabelGPRSDNS1, &m.LabelGPRSDNS2}, enabled);
}

void applyDnsServerFields(TformMain& m) {
    setDnsServerFields(m, m.RBtnDNS1.checked || m.RBtnDNS2.checked);
}

void applyReserveServer(TformMain& m) {
    const bool used = m.CheckBoxGPRSRez2.checked;
    setEnabled({&m.GroupServer2, &m.RBtnIP2, &m.RBtnDNS2, &m.EditGPRSPort2, &m.LabelGPRSPort2},
               used);
    if (used) {
        applyServerAddressFields(m, 2);
    } else {
        setEnabled({&m.EditGPRSIP2, &m.EditGPRSWWW2}, false);
    }
}

void applyGprsSwitch(TformMain& m) {
    const bool on = m.CheckModemFlagGPRS.checked;
    setEnabled({&m.GBoxGPRS,
                &m.GroupGPRSAuth,
                &m.LabelGPRSLogin,
                &m.EditGPRSLogin,
                &m.LabelGPRSPass,
                &m.EditGPRSPass,
                &m.CheckModemFlagGPRSCont,
                &m.GroupServer1,
                &m.RBtnIP1,
                &m.RBtnDNS1,
                &m.EditGPRSIP1,
                &m.EditGPRSWWW1,
                &m.LabelGPRSPort1,
                &m.EditGPRSPort1,
                &m.GroupServer2,
                &m.RBtnIP2,
                &m.RBtnDNS2,
                &m.EditGPRSIP2,
                &m.EditGPRSWWW2,
                &m.LabelGPRSPort2,
                &m.EditGPRSPort2,
                &m.CheckBoxGPRSRez2,
                &m.GroupGPRSCommon,
                &m.LabelTestGPRS,
                &m.ComBoxTestGPRS,
                &m.LabelGPRSDNS1,
                &m.EditGPRSDNS1,
                &m.LabelGPRSDNS2,
                &m.EditGPRSDNS2},
               on);
    if (!on)
        return;
    applyServerAddressFields(m, 1);
    applyDnsServerFields(m);
    applyReserveServer(m);
}

void RBtnIPClick(App& app, int server) {
    TformMain& m = app.main;
    applyServerAddressFields(m, server);
    const RadioButton& otherIp = server == 2 ? m.RBtnIP1 : m.RBtnIP2;
    // Only disabled here: when the other server is named, its own click enabled them already.
    if (otherIp.checked)
        setDnsServerFields(m, false);
}

void RBtnDNSClick(App& app, int server) {
    TformMain& m = app.main;
    applyServerAddressFields(m, server);
    setDnsServerFields(m, true);
}

void GBoxGPRSExit(App& app) {
    TformMain& m = app.main;
    // The reserve server counts even when it is not used: its name is written all the same.
    if (!m.RBtnDNS1.checked && !m.RBtnDNS2.checked)
        return;
    const char* missing = nullptr;
    if (m.EditGPRSDNS1.text.empty()) {
        missing = "EditGPRSDNS1";
    } else if (m.EditGPRSDNS2.text.empty()) {
        missing = "EditGPRSDNS2";
    }
    if (missing == nullptr)
        return;
    app.services.dialogs.messageBox(kTextEnterDnsServers, "Модем", MessageIcon::None,
                                    MessageButtons::Ok);
    m.focusRequest = missing;
}

}  // namespace zelar
