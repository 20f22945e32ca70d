#include "forms/control_registry.h"

#include <type_traits>

namespace zelar {

std::vector<NamedControl> userPageControls(TformMain& m) {
    return {
        {"cbUserON", &m.cbUserON},
        {"RBtnSMSalways", &m.RBtnSMSalways},
        {"RBtnSMSifNoGPRS", &m.RBtnSMSifNoGPRS},
        {"PanelUserTel", &m.PanelUserTel},
        {"EditUserTel", &m.EditUserTel},
        {"PanelUserPassword", &m.PanelUserPassword},
        {"EditUserPassword", &m.EditUserPassword},
        {"PanelUserStatus", &m.PanelUserStatus},
        {"cbUserStatus", &m.cbUserStatus},
        {"PanelUserTypeMess", &m.PanelUserTypeMess},
        {"cbUserTypeMess", &m.cbUserTypeMess},
        {"PanelUserFormat", &m.PanelUserFormat},
        {"cbUserObjectON", &m.cbUserObjectON},
        {"cbUserSystemON", &m.cbUserSystemON},
        {"PanelUserPriority", &m.PanelUserPriority},
        {"cbUserPriority", &m.cbUserPriority},
        {"cbUserDialON", &m.cbUserDialON},
        {"PanelSeekObject", &m.PanelSeekObject},
        {"EditSeekObject", &m.EditSeekObject},
        {"PanelUserTestMess", &m.PanelUserTestMess},
        {"cbUserTestMessON", &m.cbUserTestMessON},
        {"EditUserTtestmessH", &m.EditUserTtestmessH},
        {"EditUserTtestmessM", &m.EditUserTtestmessM},
        {"PanelMessCodes", &m.PanelMessCodes},
        {"CheckBoxMessAlarmON", &m.CheckBoxMessAlarmON},
        {"CheckBoxMessFireON", &m.CheckBoxMessFireON},
        {"CheckBoxMessErrON", &m.CheckBoxMessErrON},
        {"CheckBoxMessPowerON", &m.CheckBoxMessPowerON},
        {"CheckBoxMessGuardON", &m.CheckBoxMessGuardON},
        {"CheckBoxMessInfOn", &m.CheckBoxMessInfOn},
        {"PanelExpert1", &m.PanelExpert1},
        {"PanelExpert2", &m.PanelExpert2},
    };
}

std::vector<NamedControl> simPageControls(TformMain& m) {
    return {
        {"GroupSim1", &m.GroupSim1},
        {"CheckBoxSim1Vkl", &m.CheckBoxSim1Vkl},
        {"CheckBoxSim1Pass", &m.CheckBoxSim1Pass},
        {"EditSim1Pin1", &m.EditSim1Pin1},
        {"EditSim1Puk1", &m.EditSim1Puk1},
        {"CheckBoxSim1Ballance", &m.CheckBoxSim1Ballance},
        {"EditSim1Ballance", &m.EditSim1Ballance},
        {"LabelSim1BallanceUnits", &m.LabelSim1BallanceUnits},
        {"AutoSetPar1", &m.AutoSetPar1},
        {"LabelSim1USSD", &m.LabelSim1USSD},
        {"EditSIM1USSD", &m.EditSIM1USSD},
        {"BitBtnSIM1HelpUSSD", &m.BitBtnSIM1HelpUSSD},
        {"LabelSim1APNHead", &m.LabelSim1APNHead},
        {"LabelSim1APN", &m.LabelSim1APN},
        {"LabelSim1NAME", &m.LabelSim1NAME},
        {"LabelSim1PASS", &m.LabelSim1PASS},
        {"EditSim1APN", &m.EditSim1APN},
        {"EditSim1NAME", &m.EditSim1NAME},
        {"EditSim1PASS", &m.EditSim1PASS},
        {"GroupSim2", &m.GroupSim2},
        {"CheckBoxSim2Vkl", &m.CheckBoxSim2Vkl},
        {"CheckBoxSim2Pass", &m.CheckBoxSim2Pass},
        {"EditSim2Pin1", &m.EditSim2Pin1},
        {"EditSim2Puk1", &m.EditSim2Puk1},
        {"CheckBoxSim2Ballance", &m.CheckBoxSim2Ballance},
        {"EditSim2Ballance", &m.EditSim2Ballance},
        {"LabelSim2BallanceUnits", &m.LabelSim2BallanceUnits},
        {"AutoSetPar2", &m.AutoSetPar2},
        {"LabelSim2USSD", &m.LabelSim2USSD},
        {"EditSIM2USSD", &m.EditSIM2USSD},
        {"BitBtnSIM2HelpUSSD", &m.BitBtnSIM2HelpUSSD},
        {"LabelSim2APNHead", &m.LabelSim2APNHead},
        {"LabelSim2APN", &m.LabelSim2APN},
        {"LabelSim2NAME", &m.LabelSim2NAME},
        {"LabelSim2PASS", &m.LabelSim2PASS},
        {"EditSim2APN", &m.EditSim2APN},
        {"EditSim2NAME", &m.EditSim2NAME},
        {"EditSim2PASS", &m.EditSim2PASS},
        {"PanelExpert4", &m.PanelExpert4},
        {"PanelExpert5", &m.PanelExpert5},
    };
}

std::vector<NamedControl> gprsPageControls(TformMain& m) {
    return {
        {"CheckModemFlagGPRS", &m.CheckModemFlagGPRS},
        {"GBoxGPRS", &m.GBoxGPRS},
        {"ComboBoxTypeModem", &m.ComboBoxTypeModem},
        {"GroupGPRSAuth", &m.GroupGPRSAuth},
        {"LabelGPRSLogin", &m.LabelGPRSLogin},
        {"EditGPRSLogin", &m.EditGPRSLogin},
        {"LabelGPRSPass", &m.LabelGPRSPass},
        {"EditGPRSPass", &m.EditGPRSPass},
        {"CheckModemFlagGPRSCont", &m.CheckModemFlagGPRSCont},
        {"GroupServer1", &m.GroupServer1},
        {"RBtnIP1", &m.RBtnIP1},
        {"RBtnDNS1", &m.RBtnDNS1},
        {"EditGPRSIP1", &m.EditGPRSIP1},
        {"EditGPRSWWW1", &m.EditGPRSWWW1},
        {"LabelGPRSPort1", &m.LabelGPRSPort1},
        {"EditGPRSPort1", &m.EditGPRSPort1},
        {"CheckBoxGPRSRez2", &m.CheckBoxGPRSRez2},
        {"GroupServer2", &m.GroupServer2},
        {"RBtnIP2", &m.RBtnIP2},
        {"RBtnDNS2", &m.RBtnDNS2},
        {"EditGPRSIP2", &m.EditGPRSIP2},
        {"EditGPRSWWW2", &m.EditGPRSWWW2},
        {"LabelGPRSPort2", &m.LabelGPRSPort2},
        {"EditGPRSPort2", &m.EditGPRSPort2},
        {"GroupGPRSCommon", &m.GroupGPRSCommon},
        {"LabelTestGPRS", &m.LabelTestGPRS},
        {"ComBoxTestGPRS", &m.ComBoxTestGPRS},
        {"LabelGPRSDNS1", &m.LabelGPRSDNS1},
        {"EditGPRSDNS1", &m.EditGPRSDNS1},
        {"LabelGPRSDNS2", &m.LabelGPRSDNS2},
        {"EditGPRSDNS2", &m.EditGPRSDNS2},
    };
}

std::vector<NamedControl> objectPageControls(TformMain& m) {
    return {
        {"LabelMainSys", &m.LabelMainSys},     {"EditMainSys", &m.EditMainSys},
        {"LabelMainObj", &m.LabelMainObj},     {"EditMainObj", &m.EditMainObj},
        {"LabelProt", &m.LabelProt},           {"ComBoxProt", &m.ComBoxProt},
        {"LabelSerialN", &m.LabelSerialN},     {"EditSerialN", &m.EditSerialN},
        {"BtnResetSysObj", &m.BtnResetSysObj},
    };
}

std::vector<NamedControl> voiceCallPageControls(TformMain& m) {
    return {
        {"CheckBoxECallEn", &m.CheckBoxECallEn},
        {"LabelECallNumbers", &m.LabelECallNumbers},
        {"LabelECallN1", &m.LabelECallN1},
        {"LabelECallN2", &m.LabelECallN2},
        {"LabelECallN3", &m.LabelECallN3},
        {"LabelECallN4", &m.LabelECallN4},
        {"LabelECallN5", &m.LabelECallN5},
        {"EditECallN1", &m.EditECallN1},
        {"EditECallN2", &m.EditECallN2},
        {"EditECallN3", &m.EditECallN3},
        {"EditECallN4", &m.EditECallN4},
        {"EditECallN5", &m.EditECallN5},
        {"CheckBoxInCall", &m.CheckBoxInCall},
        {"LabelInCall", &m.LabelInCall},
        {"LabelInCallN1", &m.LabelInCallN1},
        {"LabelInCallN2", &m.LabelInCallN2},
        {"LabelInCallN3", &m.LabelInCallN3},
        {"EditInCallN1", &m.EditInCallN1},
        {"EditInCallN2", &m.EditInCallN2},
        {"EditInCallN3", &m.EditInCallN3},
        {"GroupECallSettings", &m.GroupECallSettings},
        {"LabelECallSpk", &m.LabelECallSpk},
        {"EditECallSpk", &m.EditECallSpk},
        {"LabelECallMic", &m.LabelECallMic},
        {"EditECallMic", &m.EditECallMic},
    };
}

std::vector<NamedControl> diagnosticsPageControls(TformMain& m) {
    return {
        {"GroupBalance", &m.GroupBalance},
        {"BitBtnReadBalance", &m.BitBtnReadBalance},
        {"StaticTextNumSimCard", &m.StaticTextNumSimCard},
        {"StaticTextBalanceStatus", &m.StaticTextBalanceStatus},
        {"StaticTextBalanceSim", &m.StaticTextBalanceSim},
        {"GroupErrors", &m.GroupErrors},
        {"BitBtnReadError", &m.BitBtnReadError},
        {"CheckBoxErr5V", &m.CheckBoxErr5V},
        {"CheckBoxErr12V", &m.CheckBoxErr12V},
        {"CheckBoxErrVddExt", &m.CheckBoxErrVddExt},
        {"CheckBoxErrVddSim", &m.CheckBoxErrVddSim},
        {"CheckBoxErrInEEPROM", &m.CheckBoxErrInEEPROM},
        {"CheckBoxErrFlash", &m.CheckBoxErrFlash},
        {"CheckBoxErrSim", &m.CheckBoxErrSim},
        {"CheckBoxErrSimCard", &m.CheckBoxErrSimCard},
        {"CheckBoxErrCheckEEPROM", &m.CheckBoxErrCheckEEPROM},
        {"CheckBoxErrCheckFlash", &m.CheckBoxErrCheckFlash},
        {"CheckBoxErrPin", &m.CheckBoxErrPin},
        {"PanelQ1", &m.PanelQ1},
        {"PanelQ2", &m.PanelQ2},
        {"PanelQ3", &m.PanelQ3},
        {"PanelQ4", &m.PanelQ4},
        {"PanelQ5", &m.PanelQ5},
        {"StaticTextQuality", &m.StaticTextQuality},
        {"CheckBoxMeter", &m.CheckBoxMeter},
        {"StaticTextMeter", &m.StaticTextMeter},
        {"PanelExpert6", &m.PanelExpert6},
    };
}

std::vector<NamedControl> shellControls(TformMain& m) {
    return {
        {"ComboBox1", &m.ComboBox1},
        {"btnFindModem", &m.btnFindModem},
        {"cbExpert", &m.cbExpert},
        {"PanelExpert3", &m.PanelExpert3},
        {"cbFastExchange", &m.cbFastExchange},
        {"cbVerifyWrites", &m.cbVerifyWrites},
        {"TabSheet1", &m.TabSheet1},
        {"TabSheet2", &m.TabSheet2},
        {"TabSheet3", &m.TabSheet3},
        {"TabSheet4", &m.TabSheet4},
        {"TabSheet5", &m.TabSheet5},
        {"TabSheetTests", &m.TabSheetTests},
        {"TabSheetECall", &m.TabSheetECall},
        {"StaticTextInformation", &m.StaticTextInformation},
        {"TreeView1", &m.TreeView1},
        {"StatusBar1", &m.StatusBar1},
        {"StaticTextSN", &m.StaticTextSN},
        {"StaticTextBootVer", &m.StaticTextBootVer},
        {"StaticTextVer", &m.StaticTextVer},
        {"EditIMEI", &m.EditIMEI},
        {"StaticTextArchive", &m.StaticTextArchive},
        {"BtnArchiveChanges", &m.BtnArchiveChanges},
        {"BtnArchiveRevert", &m.BtnArchiveRevert},
        {"btnReadNastUser", &m.btnReadNastUser},
        {"ButtonWriteNastr", &m.ButtonWriteNastr},
        {"BitBtnTest", &m.BitBtnTest},
        {"BSprogressBarLine1", &m.BSprogressBarLine1},
        {"cbUser", &m.cbUser},
        {"EditPassword", &m.EditPassword},
        {"ButtonApplyPassword", &m.ButtonApplyPassword},
    };
}

std::vector<NamedControl> menuControls(TformMain& m) {
    return {
        {"MenuOpenFile", &m.MenuOpenFile},
        {"MenuNewFile", &m.MenuNewFile},
        {"MenuSaveAs", &m.MenuSaveAs},
        {"MenuWriteFile", &m.MenuWriteFile},
        {"MenuCompare", &m.MenuCompare},
        {"MenuReport", &m.MenuReport},
        {"MenuKeepArchive", &m.MenuKeepArchive},
        {"MenuArchive", &m.MenuArchive},
        {"MenuExit", &m.MenuExit},
    };
}

std::vector<NamedControl> mainWindowControls(TformMain& m) {
    std::vector<NamedControl> all = shellControls(m);
    for (auto part :
         {menuControls(m), userPageControls(m), simPageControls(m), gprsPageControls(m),
          objectPageControls(m), voiceCallPageControls(m), diagnosticsPageControls(m)}) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

std::vector<NamedControl> setupWindowControls(TformSetup& s) {
    return {
        {"GroupFirmware", &s.GroupFirmware},
        {"BtnOpen", &s.BtnOpen},
        {"SpBtnFlashMCU", &s.SpBtnFlashMCU},
        {"LabelFile", &s.LabelFile},
        {"labelNameFile", &s.labelNameFile},
        {"LabelVer", &s.LabelVer},
        {"labVer", &s.labVer},
        {"Label4", &s.Label4},
        {"LabDate", &s.LabDate},
        {"LabelStatus", &s.LabelStatus},
        {"labInfo", &s.labInfo},
        {"ProgressBar1", &s.ProgressBar1},
        {"BtnCancel", &s.BtnCancel},
        {"GroupDict", &s.GroupDict},
        {"btnWriteDict", &s.btnWriteDict},
        {"LabelCountMess", &s.LabelCountMess},
        {"BtnReadDict", &s.BtnReadDict},
        {"LabCountMessRead", &s.LabCountMessRead},
        {"GroupSettings", &s.GroupSettings},
        {"BtnSavePar", &s.BtnSavePar},
        {"BtnLoadPar", &s.BtnLoadPar},
        {"LabWNastr", &s.LabWNastr},
        {"ButtonSetDefault", &s.ButtonSetDefault},
        {"LabelCountUser", &s.LabelCountUser},
        {"LabWorkAs", &s.LabWorkAs},
        {"ComBoxWorkAs", &s.ComBoxWorkAs},
    };
}

std::vector<NamedControl> ussdDialogControls(TFormUSSD& u) {
    return {
        {"GroupOperators", &u.GroupOperators},
        {"RadioMts", &u.RadioMts},
        {"RadioMegafon", &u.RadioMegafon},
        {"RadioUtel", &u.RadioUtel},
        {"RadioBeeLine", &u.RadioBeeLine},
        {"RadioTele2", &u.RadioTele2},
        {"ButtonUSSDOperator", &u.ButtonUSSDOperator},
        {"BitBtnUSSDClose", &u.BitBtnUSSDClose},
    };
}

std::vector<NamedControl> logWindowControls(TFormInit& l) {
    return {{"Memo1", &l.Memo1}};
}

std::vector<NamedControl> archiveWindowControls(TformArchive& a) {
    return {
        {"EditArchiveFilter", &a.EditArchiveFilter},
        {"GroupSite", &a.GroupSite},
        {"EditSiteName", &a.EditSiteName},
        {"EditSiteAddress", &a.EditSiteAddress},
        {"EditSiteNote", &a.EditSiteNote},
        {"LabelSiteInstaller", &a.LabelSiteInstaller},
        {"BtnSaveSite", &a.BtnSaveSite},
        {"BtnCompareVisits", &a.BtnCompareVisits},
        {"BtnOpenVisit", &a.BtnOpenVisit},
        {"BtnCloseArchive", &a.BtnCloseArchive},
        {"LabelArchiveStatus", &a.LabelArchiveStatus},
    };
}

const Control& controlBase(const ControlRef& ref) {
    return std::visit([](auto* c) -> const Control& { return *c; }, ref);
}

std::string controlValue(const ControlRef& ref) {
    return std::visit(
        [](auto* c) -> std::string {
            using T = std::remove_pointer_t<decltype(c)>;
            if constexpr (std::is_same_v<T, Edit> || std::is_same_v<T, Memo> ||
                          std::is_same_v<T, StatusBar> || std::is_same_v<T, ComboBox>) {
                return c->text;
            } else if constexpr (std::is_same_v<T, CheckBox> || std::is_same_v<T, RadioButton>) {
                return c->checked ? "1" : "0";
            } else if constexpr (std::is_same_v<T, ProgressBar>) {
                return std::to_string(c->position);
            } else if constexpr (std::is_same_v<T, TreeView>) {
                const bool selected =
                    c->selected >= 0 && c->selected < static_cast<int>(c->nodes.size());
                return selected ? c->nodes[static_cast<std::size_t>(c->selected)].text
                                : std::string();
            } else if constexpr (std::is_same_v<T, Panel>) {
                // The signal bars have no caption and tell by being lit; an empty holder shows 0.
                if (c->caption.empty())
                    return c->lit ? "1" : "0";
                return c->caption;
            } else {
                return c->caption;
            }
        },
        ref);
}

}  // namespace zelar
