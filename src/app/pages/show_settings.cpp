#include "app/pages/show_settings.h"

#include <initializer_list>

#include "app/pages/gprs_rules.h"
#include "app/pages/page_edits.h"
#include "app/pages/sim_rules.h"
#include "app/pages/user_rules.h"
#include "settings/flag_bits.h"
#include "settings/value_tables.h"
#include "text/padding.h"

namespace zelar {

namespace {

bool bit(unsigned value, int n) {
    return ((value >> n) & 1U) != 0;
}

void showSim(TformMain& m, const SimRecord& sim, int k) {
    SimControls c = simControls(m, k);
    c.pin.checked = bit(sim.flags, 0);
    c.pinCode.enabled = c.pin.checked;
    c.puk.enabled = c.pin.checked;
    c.balance.checked = bit(sim.flags, 2);
    c.threshold.enabled = c.balance.checked;
    if (k == 1) {
        c.installed.checked = true;
    } else {
        c.ussd.enabled = c.balance.checked;
        c.installed.checked = bit(sim.flags, 3);
    }
    c.pinCode.text = cutAtFirstNul(sim.pin);
    c.puk.text = cutAtFirstNul(sim.puk);
    c.ussd.text = cutAtFirstNul(sim.ussd);
    c.threshold.text = std::to_string(sim.balanceThreshold);
}

// The modem's switches and type, on the GPRS page.
void showModemFlags(TformMain& m, const TSettingsImage& image) {
    m.CheckModemFlagGPRS.checked = bit(image.modemFlags, 0);
    applyGprsSwitch(m);
    m.CheckModemFlagGPRSCont.checked = !bit(image.modemFlags, 1);
    selectItem(m.ComboBoxTypeModem, modemTypeIndex(image.modemType));
}

void showSimPage(TformMain& m, const TSettingsImage& image) {
    showSim(m, image.sims[0], 1);
    showSim(m, image.sims[1], 2);

    m.EditSim1APN.text = cutAtFirstNul(image.sims[0].apnName);
    m.EditSim1NAME.text = cutAtFirstNul(image.sims[0].apnLogin);
    m.EditSim1PASS.text = cutAtFirstNul(image.sims[0].apnPassword);
    m.EditSim2APN.text = cutAtFirstNul(image.sims[1].apnName);
    m.EditSim2NAME.text = cutAtFirstNul(image.sims[1].apnLogin);
    m.EditSim2PASS.text = cutAtFirstNul(image.sims[1].apnPassword);
}

// The DNS servers, the link test period and the authorization; false when the stored period is
// none the list has.
bool showGprsCommon(TformMain& m, const TSettingsImage& image) {
    m.EditGPRSDNS1.text = cutAtFirstNul(image.dns1);
    m.EditGPRSDNS2.text = cutAtFirstNul(image.dns2);

    const auto period = linkTestPeriodIndex(image.linkTestPeriod);
    if (period) {
        selectItem(m.ComBoxTestGPRS, *period);
    } else {
        showText(m.ComBoxTestGPRS, kUnknownPeriodText);
    }

    m.EditGPRSLogin.text = cutAtFirstNul(image.gprsAuthName);
    m.EditGPRSPass.text = cutAtFirstNul(image.gprsAuthPassword);
    return period.has_value();
}

// The main and reserve servers, each with its address kind and the DNS server fields it needs.
void showServers(TformMain& m, const TSettingsImage& image) {
    const ServerRecord& main = image.servers[0];
    const ServerRecord& reserve = image.servers[1];
    m.EditGPRSIP1.text = cutAtFirstNul(main.ip);
    m.EditGPRSPort1.text = cutAtFirstNul(main.port);
    m.EditGPRSWWW1.text = cutAtFirstNul(main.dnsName);

    const bool mainByName = bit(main.flags, 1);
    const bool reserveByName = bit(reserve.flags, 1);
    if (mainByName) {
        checkRadio(m.RBtnDNS1, m.RBtnIP1);
        m.EditGPRSWWW1.enabled = true;
        setDnsServerFields(m, true);
    } else {
        m.RBtnDNS1.checked = false;
        m.EditGPRSWWW1.enabled = false;
        setDnsServerFields(m, reserveByName);
    }

    m.EditGPRSIP2.text = cutAtFirstNul(reserve.ip);
    m.EditGPRSPort2.text = cutAtFirstNul(reserve.port);
    m.EditGPRSWWW2.text = cutAtFirstNul(reserve.dnsName);
    m.CheckBoxGPRSRez2.checked = bit(reserve.flags, 0);
    setEnabled({&m.GroupServer2, &m.RBtnIP2, &m.RBtnDNS2, &m.EditGPRSIP2, &m.EditGPRSWWW2,
                &m.EditGPRSPort2, &m.LabelGPRSPort2},
               m.CheckBoxGPRSRez2.checked);

    if (reserveByName) {
        checkRadio(m.RBtnDNS2, m.RBtnIP2);
        m.EditGPRSWWW2.enabled = true;
        setDnsServerFields(m, true);
    } else {
        m.RBtnDNS2.checked = false;
        m.EditGPRSWWW2.enabled = false;
        setDnsServerFields(m, mainByName);
    }
}

void showObjectPage(TformMain& m, const TSettingsImage& image) {
    if (const auto object = shownObjectNumber(image.mainObjectMinus1)) {
        m.EditMainSys.text = std::to_string(image.mainSystem);
        m.EditMainObj.text = std::to_string(*object);
        if (const auto protocol = protocolIndex(image.protocol))
            selectItem(m.ComBoxProt, *protocol);
    } else {
        m.EditMainSys.text = std::string(kNotSetText);
        m.EditMainObj.text = std::string(kNotSetText);
        selectItemText(m.ComBoxProt, std::string(kNotSetText));
    }
}

}  // namespace

void checkRadio(RadioButton& button, RadioButton& partner) {
    button.checked = true;
    partner.checked = false;
}

void ShowModemSettings(App& app) {
    TformMain& m = app.main;
    const TSettingsImage& image = app.image;
    showModemFlags(m, image);
    showSimPage(m, image);
    const bool periodKnown = showGprsCommon(m, image);
    showServers(m, image);
    showObjectPage(m, image);
    if (!periodKnown) {
        app.services.dialogs.messageBox(kTextBadLinkTestPeriod, "Тест GPRS", MessageIcon::Warning,
                                        MessageButtons::Ok);
    }
}

void ShowUserSettings(App& app, int n) {
    TformMain& m = app.main;
    const UserRecord& user = app.image.users[static_cast<std::size_t>(n - 1)];
    m.EditUserPassword.text = cutAtFirstNul(user.password);

    const bool always = bit(user.options, 0);
    const bool ifNoGprs = bit(user.options, 7);
    const bool on = always || ifNoGprs;
    m.cbUserON.checked = on;
    m.RBtnSMSalways.checked = false;
    m.RBtnSMSifNoGPRS.checked = false;
    if (always)
        checkRadio(m.RBtnSMSalways, m.RBtnSMSifNoGPRS);
    if (ifNoGprs)
        checkRadio(m.RBtnSMSifNoGPRS, m.RBtnSMSalways);
    enableUserFields(m, on);
    m.EditUserTtestmessM.enabled = on;

    m.EditUserTel.text = cutAtFirstNul(user.phone);
    selectItem(m.cbUserStatus, userStatusIndex(user.status).value_or(-1));
    const int type = messageTypeIndex(user.messageType);
    selectItem(m.cbUserTypeMess, type);

    setEnabled({&m.CheckBoxMessAlarmON, &m.CheckBoxMessFireON, &m.CheckBoxMessErrON,
                &m.CheckBoxMessPowerON, &m.CheckBoxMessGuardON, &m.CheckBoxMessInfOn},
               true);

    if (type == 0) {
        setEnabled({&m.EditUserTtestmessH, &m.EditUserTtestmessM, &m.cbUserTestMessON}, true);
    } else if (type == 1) {
        setEnabled({&m.cbUserObjectON, &m.cbUserSystemON}, false);
        m.cbUserTestMessON.enabled = true;
    } else {
        setEnabled({&m.cbUserObjectON, &m.cbUserSystemON, &m.EditUserTtestmessH,
                    &m.EditUserTtestmessM, &m.cbUserTestMessON},
                   false);
        m.cbUserTestMessON.checked = false;
    }

    selectItem(m.cbUserObjectON, bit(user.options, 1) ? 1 : 0);
    m.cbUserPriority.checked = bit(user.options, 2);
    m.cbUserDialON.checked = bit(user.options, 3);
    m.cbUserTestMessON.checked = bit(user.options, 4);
    selectItem(m.cbUserSystemON, bit(user.options, 5) ? 1 : 0);

    CheckBox* classes[] = {&m.CheckBoxMessAlarmON, &m.CheckBoxMessFireON,  &m.CheckBoxMessErrON,
                           &m.CheckBoxMessPowerON, &m.CheckBoxMessGuardON, &m.CheckBoxMessInfOn};
    for (int i = 0; i < 6; ++i)
        classes[i]->checked = bit(user.messageClasses, i);

    m.EditUserTtestmessH.text = std::to_string(user.testPeriodHours);
    m.EditSeekObject.text = std::to_string(user.objectOffset);
}

void showImageOnPages(App& app) {
    ShowModemSettings(app);
    const int node = app.main.TreeView1.selected;
    if (node >= 1 && node <= kUserCount && app.main.activePage == Page::TabSheet1)
        ShowUserSettings(app, node);
    notePagesShown(app);
}

void showSettingsFromFile(App& app, const TSettingsImage& image, int autoDetect) {
    app.image = image;
    app.main.AutoSetPar1.checked = (autoDetect & 1) != 0;
    applySimAutoDetect(app.main, 1);
    app.main.AutoSetPar2.checked = (autoDetect & 2) != 0;
    applySimAutoDetect(app.main, 2);
    showImageOnPages(app);
}

}  // namespace zelar
