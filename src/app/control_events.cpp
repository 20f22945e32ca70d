#include "app/control_events.h"

#include <algorithm>
#include <array>

#include "app/diagnostics_page.h"
#include "app/dictionary_page.h"
#include "app/display_mode.h"
#include "app/firmware_update.h"
#include "app/gprs_rules.h"
#include "app/login.h"
#include "app/navigation.h"
#include "app/port_list.h"
#include "app/read_settings.h"
#include "app/service_window.h"
#include "app/settings_file_page.h"
#include "app/sim_rules.h"
#include "app/user_rules.h"
#include "app/ussd_dialog.h"
#include "app/voice_object_rules.h"
#include "app/write_settings.h"

namespace zelar {

namespace {

ControlEvents onClick(FormId form, std::string_view name, ControlHandler handler) {
    return {form, name, handler};
}
// A click that runs an operation on the link.
ControlEvents onClickExchange(FormId form, std::string_view name, ControlHandler handler) {
    ControlEvents events{form, name, handler};
    events.takesLink = true;
    return events;
}
ControlEvents onChange(std::string_view name, ControlHandler handler) {
    return {FormId::Main, name, nullptr, handler};
}
ControlEvents onExit(std::string_view name, ControlHandler handler) {
    return {FormId::Main, name, nullptr, nullptr, nullptr, handler};
}

constexpr FormId M = FormId::Main;

const std::array kTable = {
    // Shell: display mode, navigation, reading, login, writing.
    ControlEvents{M, "ComboBox1", nullptr, nullptr, nullptr, nullptr, nullptr,
                  [](App& a) { ComboBox1DropDown(a); }},
    onChange("cbExpert", [](App& a) { cbExpertChange(a); }),
    onClick(M, "cbFastExchange", [](App& a) { cbFastExchangeClick(a); }),
    onChange("TreeView1", [](App& a) { TreeView1Changing(a, a.main.TreeView1.selected); }),
    onClickExchange(M, "btnReadNastUser", [](App& a) { btnReadNastUserClick(a); }),
    onClick(M, "ButtonApplyPassword", [](App& a) { ButtonApplyPasswordClick(a); }),
    ControlEvents{M, "EditPassword", nullptr, nullptr, nullptr, nullptr,
                  [](App& a, int key) { EditPasswordKeyDown(a, key); }},
    onClickExchange(M, "ButtonWriteNastr", [](App& a) { ButtonWriteNastrClick(a); }),
    onClickExchange(M, "BitBtnTest", [](App& a) { BitBtnTestClick(a); }),

    // User page.
    onClick(M, "cbUserON", [](App& a) { cbUserONClick(a); }),
    onChange("cbUserTypeMess", [](App& a) { cbUserTypeMessChange(a); }),
    onChange("cbUserStatus", [](App& a) { cbUserStatusChange(a); }),
    onExit("EditUserTtestmessM", [](App& a) { EditUserTtestmessMExit(a); }),

    // SIM page.
    onClick(M, "CheckBoxSim1Pass", [](App& a) { applySimPin(a.main, 1); }),
    onClick(M, "CheckBoxSim2Pass", [](App& a) { applySimPin(a.main, 2); }),
    onClick(M, "CheckBoxSim1Ballance", [](App& a) { applySimBalance(a.main, 1); }),
    onClick(M, "CheckBoxSim2Ballance", [](App& a) { applySimBalance(a.main, 2); }),
    onClick(M, "AutoSetPar1", [](App& a) { applySimAutoDetect(a.main, 1); }),
    onClick(M, "AutoSetPar2", [](App& a) { applySimAutoDetect(a.main, 2); }),
    onClick(M, "BitBtnSIM1HelpUSSD", [](App& a) { BitBtnSIMHelpUSSDClick(a, 1); }),
    onClick(M, "BitBtnSIM2HelpUSSD", [](App& a) { BitBtnSIMHelpUSSDClick(a, 2); }),

    // GPRS page.
    onClick(M, "CheckModemFlagGPRS", [](App& a) { applyGprsSwitch(a.main); }),
    onClick(M, "RBtnIP1", [](App& a) { RBtnIPClick(a, 1); }),
    onClick(M, "RBtnDNS1", [](App& a) { RBtnDNSClick(a, 1); }),
    onClick(M, "RBtnIP2", [](App& a) { RBtnIPClick(a, 2); }),
    onClick(M, "RBtnDNS2", [](App& a) { RBtnDNSClick(a, 2); }),
    onClick(M, "CheckBoxGPRSRez2", [](App& a) { applyReserveServer(a.main); }),
    onExit("GBoxGPRS", [](App& a) { GBoxGPRSExit(a); }),

    // Object parameters and voice call pages.
    onClickExchange(M, "BtnResetSysObj", [](App& a) { BtnResetSysObjClick(a); }),
    onClick(M, "CheckBoxECallEn", [](App& a) { CheckBoxECallEnClick(a); }),
    onClick(M, "CheckBoxInCall", [](App& a) { CheckBoxInCallClick(a); }),
    onExit("EditECallSpk", [](App& a) { EditECallSpkExit(a); }),
    onExit("EditECallMic", [](App& a) { EditECallMicExit(a); }),

    // Service window: the message dictionary.
    onClickExchange(FormId::Setup, "btnWriteDict", [](App& a) { btnWriteDictClick(a); }),
    onClickExchange(FormId::Setup, "BtnReadDict", [](App& a) { BtnReadDictClick(a); }),
    // Diagnostics page.
    onClickExchange(M, "BitBtnReadBalance", [](App& a) { BitBtnReadBalanceClick(a); }),
    onClickExchange(M, "BitBtnReadError", [](App& a) { BitBtnReadErrorClick(a); }),
    // Service window: settings files.
    onClickExchange(FormId::Setup, "BtnSavePar", [](App& a) { BtnSaveParClick(a); }),
    onClickExchange(FormId::Setup, "BtnLoadPar", [](App& a) { BtnLoadParClick(a); }),
    // Service window.
    onClickExchange(FormId::Setup, "ButtonSetDefault", [](App& a) { ButtonSetDefaultClick(a); }),
    ControlEvents{FormId::Setup, "ComBoxWorkAs", nullptr, [](App& a) { ComBoxWorkAsChange(a); },
                  nullptr, nullptr, nullptr, nullptr, true},
    // Service window: firmware programming.
    onClick(FormId::Setup, "BtnOpen", [](App& a) { BtnOpenClick(a); }),
    onClickExchange(FormId::Setup, "SpBtnFlashMCU", [](App& a) { SpBtnFlashMCUClick(a); }),
    onClick(FormId::Setup, "BtnCancel", [](App& a) { BtnCancelClick(a); }),

    // Operator preset dialog.
    onClick(FormId::Ussd, "ButtonUSSDOperator", [](App& a) { ButtonUSSDOperatorClick(a); }),
    onClick(FormId::Ussd, "BitBtnUSSDClose", [](App& a) { BitBtnUSSDCloseClick(a); }),
};

// Everything inside the GPRS group that can take the focus.
constexpr auto kGprsGroup = std::to_array<std::string_view>(
    {"EditGPRSLogin", "EditGPRSPass", "CheckModemFlagGPRSCont", "RBtnIP1", "RBtnDNS1",
     "EditGPRSIP1", "EditGPRSWWW1", "EditGPRSPort1", "CheckBoxGPRSRez2", "RBtnIP2", "RBtnDNS2",
     "EditGPRSIP2", "EditGPRSWWW2", "EditGPRSPort2", "ComBoxTestGPRS", "EditGPRSDNS1",
     "EditGPRSDNS2", "ComboBoxTypeModem"});

}  // namespace

std::span<const ControlEvents> controlEventTable() {
    return kTable;
}

const ControlEvents* findControlEvents(FormId form, std::string_view name) {
    const auto it = std::find_if(kTable.begin(), kTable.end(), [&](const ControlEvents& e) {
        return e.form == form && e.name == name;
    });
    return it == kTable.end() ? nullptr : &*it;
}

std::span<const std::string_view> groupMembers(FormId form, std::string_view group) {
    if (form == FormId::Main && group == "GBoxGPRS")
        return kGprsGroup;
    return {};
}

}  // namespace zelar
