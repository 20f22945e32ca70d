#include "app/control_events.h"

#include <algorithm>
#include <array>

#include "app/archive_view/archive_after_read.h"
#include "app/archive_view/archive_keeping.h"
#include "app/archive_view/archive_window.h"
#include "app/core/port_list.h"
#include "app/core/settings_source.h"
#include "app/diagnostics/diagnostics_page.h"
#include "app/diagnostics/signal_meter.h"
#include "app/file_session/file_menu.h"
#include "app/pages/gprs_rules.h"
#include "app/pages/sim_rules.h"
#include "app/pages/user_rules.h"
#include "app/pages/ussd_dialog.h"
#include "app/pages/voice_object_rules.h"
#include "app/pages/write_settings.h"
#include "app/service/dictionary_page.h"
#include "app/service/firmware_update.h"
#include "app/service/service_window.h"
#include "app/service/settings_file_page.h"
#include "app/shell/display_mode.h"
#include "app/shell/find_modem.h"
#include "app/shell/leave_page.h"
#include "app/shell/login.h"
#include "app/shell/navigation.h"
#include "app/shell/read_settings.h"

namespace zelar {

namespace {

ControlEvents onClick(FormId form, std::string_view name, ControlHandler handler) {
    return {form, name, handler};
}
// A click that runs an operation on the link.
ControlEvents onClickExchange(FormId form, std::string_view name, ControlHandler handler) {
    ControlEvents events{form, name, handler};
    events.startsOperation = true;
    return events;
}
// A click that opens a window: a file dialog, another window or a box with its answer.
ControlEvents onClickWindow(FormId form, std::string_view name, ControlHandler handler) {
    return onClickExchange(form, name, handler);
}
ControlEvents onChange(std::string_view name, ControlHandler handler) {
    return {FormId::Main, name, nullptr, handler};
}
ControlEvents onEdit(FormId form, std::string_view name, ControlHandler handler) {
    return {form, name, nullptr, handler};
}
ControlEvents onExit(std::string_view name, ControlHandler handler) {
    return {FormId::Main, name, nullptr, nullptr, nullptr, handler};
}

constexpr FormId M = FormId::Main;
constexpr FormId A = FormId::Archive;

// A rule that starts no operation, so it never fails; `args` follow the App or its main window.
template <auto handler, auto... args>
bool rule(App& a) {
    handler(a, args...);
    return true;
}
template <auto handler, auto... args>
bool mainRule(App& a) {
    handler(a.main, args...);
    return true;
}

// An operation that only a modem can do: with a settings file open it says so and sends nothing.
template <auto handler>
bool modemOnly(App& a) {
    return !refuseWithFileOpen(a) && handler(a);
}

// What replaces the settings pages first leaves them: edits not yet written are written or
// dropped as the user says, or nothing happens.
template <auto handler>
bool leaving(App& a) {
    return leavePage(a) && handler(a);
}

// The read and the login tell their outcome through the state they leave. After a read the
// archive says what it knows of the modem.
bool readClick(App& a) {
    if (!leavePage(a))
        return false;
    btnReadNastUserClick(a);
    showArchiveAfterRead(a);
    return a.settingsRead;
}
bool loginClick(App& a) {
    ButtonApplyPasswordClick(a);
    return a.login.loggedIn;
}
// The signal meter runs only while its page is on view and on the port it started on.
bool treeChange(App& a) {
    if (!leavePage(a))
        return false;
    // What the status bar said of the page left is not said of the next one.
    a.main.StatusBar1.text.clear();
    const bool shown = TreeView1Changing(a, a.main.TreeView1.selected);
    if (a.main.activePage != Page::TabSheet4)
        stopSignalMeter(a);
    return shown;
}
// The meter asks the modem every second: with a file open it is refused as "Тест" is, and its
// box stays clear.
bool meterClick(App& a) {
    if (a.main.CheckBoxMeter.checked && refuseWithFileOpen(a)) {
        a.main.CheckBoxMeter.checked = false;
        return false;
    }
    return CheckBoxMeterClick(a);
}
bool portChange(App& a) {
    stopSignalMeter(a);
    return true;
}
bool passwordKeyDown(App& a, int keyCode) {
    constexpr int kEnterKey = 13;
    EditPasswordKeyDown(a, keyCode);
    return keyCode != kEnterKey || a.login.loggedIn;
}

const std::array kTable = {
    // Shell: display mode, navigation, reading, login, writing.
    ControlEvents{M, "ComboBox1", nullptr, portChange, nullptr, nullptr, nullptr,
                  rule<ComboBox1DropDown>},
    onClickExchange(M, "btnFindModem", btnFindModemClick),
    onChange("cbExpert", rule<cbExpertChange>),
    onClick(M, "cbFastExchange", rule<cbFastExchangeClick>),
    onChange("TreeView1", treeChange),
    onClickExchange(M, "btnReadNastUser", readClick),
    onClickWindow(M, "ButtonApplyPassword", loginClick),
    ControlEvents{M, "EditPassword", nullptr, nullptr, nullptr, nullptr, passwordKeyDown, nullptr,
                  true},
    onClickExchange(M, "ButtonWriteNastr", ButtonWriteNastrClick),
    onClickExchange(M, "BitBtnTest", modemOnly<BitBtnTestClick>),

    // The "Файл" menu ("Выход" is the window's own close).
    onClickExchange(M, "MenuOpenFile", leaving<MenuOpenFileClick>),
    onClickExchange(M, "MenuNewFile", leaving<MenuNewFileClick>),
    onClickExchange(M, "MenuSaveAs", leaving<MenuSaveAsClick>),
    onClickExchange(M, "MenuWriteFile", leaving<MenuWriteFileClick>),
    onClickExchange(M, "MenuCompare", leaving<MenuCompareClick>),
    // The archive is not switched while an operation records into it.
    onClickExchange(M, "MenuKeepArchive", MenuKeepArchiveClick),
    onClickWindow(M, "MenuArchive", MenuArchiveClick),
    onClickWindow(M, "BtnArchiveChanges", BtnArchiveChangesClick),
    onClickExchange(M, "BtnArchiveRevert", leaving<BtnArchiveRevertClick>),

    // User page.
    onClick(M, "cbUserON", rule<cbUserONClick>),
    onChange("cbUserTypeMess", rule<cbUserTypeMessChange>),
    onChange("cbUserStatus", rule<cbUserStatusChange>),
    onExit("EditUserTtestmessM", rule<EditUserTtestmessMExit>),

    // SIM page.
    onClick(M, "CheckBoxSim1Pass", mainRule<applySimPin, 1>),
    onClick(M, "CheckBoxSim2Pass", mainRule<applySimPin, 2>),
    onClick(M, "CheckBoxSim1Ballance", mainRule<applySimBalance, 1>),
    onClick(M, "CheckBoxSim2Ballance", mainRule<applySimBalance, 2>),
    onClick(M, "AutoSetPar1", mainRule<applySimAutoDetect, 1>),
    onClick(M, "AutoSetPar2", mainRule<applySimAutoDetect, 2>),
    onClickWindow(M, "BitBtnSIM1HelpUSSD", rule<BitBtnSIMHelpUSSDClick, 1>),
    onClickWindow(M, "BitBtnSIM2HelpUSSD", rule<BitBtnSIMHelpUSSDClick, 2>),

    // GPRS page.
    onClick(M, "CheckModemFlagGPRS", mainRule<applyGprsSwitch>),
    onClick(M, "RBtnIP1", rule<RBtnIPClick, 1>),
    onClick(M, "RBtnDNS1", rule<RBtnDNSClick, 1>),
    onClick(M, "RBtnIP2", rule<RBtnIPClick, 2>),
    onClick(M, "RBtnDNS2", rule<RBtnDNSClick, 2>),
    onClick(M, "CheckBoxGPRSRez2", mainRule<applyReserveServer>),
    onExit("GBoxGPRS", rule<GBoxGPRSExit>),

    // Object parameters and voice call pages.
    onClickExchange(M, "BtnResetSysObj", modemOnly<rule<BtnResetSysObjClick>>),
    onClick(M, "CheckBoxECallEn", rule<CheckBoxECallEnClick>),
    onClick(M, "CheckBoxInCall", rule<CheckBoxInCallClick>),
    onExit("EditECallSpk", rule<EditECallSpkExit>),
    onExit("EditECallMic", rule<EditECallMicExit>),

    // Service window: the message dictionary.
    onClickExchange(FormId::Setup, "btnWriteDict", modemOnly<btnWriteDictClick>),
    onClickExchange(FormId::Setup, "BtnReadDict", modemOnly<BtnReadDictClick>),
    // Diagnostics page.
    onClickExchange(M, "BitBtnReadBalance", modemOnly<BitBtnReadBalanceClick>),
    onClickExchange(M, "BitBtnReadError", modemOnly<BitBtnReadErrorClick>),
    // Stays active while the meter holds the link, so that it can stop it.
    onClick(M, "CheckBoxMeter", meterClick),
    // Service window: settings files.
    onClickExchange(FormId::Setup, "BtnSavePar",
                    [](App& a) { return BtnSaveParClick(a) != SettingsFileResult::Failed; }),
    onClickExchange(
        FormId::Setup, "BtnLoadPar",
        modemOnly<+[](App& a) { return BtnLoadParClick(a) != SettingsFileResult::Failed; }>),
    // Service window.
    onClickExchange(FormId::Setup, "ButtonSetDefault", modemOnly<ButtonSetDefaultClick>),
    ControlEvents{FormId::Setup, "ComBoxWorkAs", nullptr, modemOnly<ComBoxWorkAsChange>, nullptr,
                  nullptr, nullptr, nullptr, true},
    // Service window: firmware programming.
    onClickWindow(FormId::Setup, "BtnOpen", rule<BtnOpenClick>),
    onClickExchange(FormId::Setup, "SpBtnFlashMCU", modemOnly<rule<SpBtnFlashMCUClick>>),
    // Acts on firmware programming alone: another operation on the link is no wait to abandon.
    ControlEvents{FormId::Setup, "BtnCancel", rule<BtnCancelClick>, nullptr, nullptr, nullptr,
                  nullptr, nullptr, false, firmwareBusy},

    // The archive window.
    onEdit(A, "EditArchiveFilter", EditArchiveFilterChange),
    onEdit(A, "GridModems", GridModemsChange),
    onEdit(A, "GridVisits", GridVisitsChange),
    onClick(A, "BtnSaveSite", BtnSaveSiteClick),
    onClickWindow(A, "BtnCompareVisits", BtnCompareVisitsClick),
    onClickWindow(A, "BtnOpenVisit", BtnOpenVisitClick),
    onClick(A, "BtnCloseArchive", BtnCloseArchiveClick),

    // Operator preset dialog.
    onClick(FormId::Ussd, "ButtonUSSDOperator", rule<ButtonUSSDOperatorClick>),
    onClick(FormId::Ussd, "BitBtnUSSDClose", rule<BitBtnUSSDCloseClick>),
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

bool actsNow(const App& app, const ControlEvents& events) {
    if (!app.link.busy())
        return true;
    if (events.ownsOperation != nullptr)
        return events.ownsOperation(app);
    return !events.startsOperation;
}

std::span<const std::string_view> groupMembers(FormId form, std::string_view group) {
    if (form == FormId::Main && group == "GBoxGPRS")
        return kGprsGroup;
    return {};
}

}  // namespace zelar
