#include "app/gprs_rules.h"

#include "app/app.h"

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

void applyDnsServerFields(TformMain& m) {
    const bool anyByName = m.RBtnDNS1.checked || m.RBtnDNS2.checked;
    setEnabled({&m.EditGPRSDNS1, &m.EditGPRSDNS2, &m.LabelGPRSDNS1, &m.LabelGPRSDNS2}, anyByName);
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

void RBtnIPClick(App&, int) {}
void RBtnDNSClick(App&, int) {}
void GBoxGPRSExit(App&) {}

}  // namespace zelar
