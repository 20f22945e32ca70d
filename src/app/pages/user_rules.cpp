#include "app/pages/user_rules.h"

#include <algorithm>
#include <string>

#include "forms/form_main.h"

namespace zelar {

namespace {

constexpr int kMaxMinutes = 60;

// Positions of the lists' items.
constexpr int kStatusMaster = 0;
constexpr int kTypeSms = 0;
constexpr int kTypeArm = 1;

bool allDigits(const std::string& text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

void enableUserFields(TformMain& m, bool enabled) {
    setEnabled({&m.RBtnSMSalways,     &m.RBtnSMSifNoGPRS,     &m.EditUserTel,
                &m.EditUserPassword,  &m.EditSeekObject,      &m.EditUserTtestmessH,
                &m.cbUserStatus,      &m.cbUserTypeMess,      &m.cbUserObjectON,
                &m.cbUserSystemON,    &m.cbUserPriority,      &m.cbUserDialON,
                &m.cbUserTestMessON,  &m.CheckBoxMessAlarmON, &m.CheckBoxMessFireON,
                &m.CheckBoxMessErrON, &m.CheckBoxMessPowerON, &m.CheckBoxMessGuardON,
                &m.CheckBoxMessInfOn, &m.PanelUserTel,        &m.PanelUserPassword,
                &m.PanelUserStatus,   &m.PanelUserTypeMess,   &m.PanelUserFormat,
                &m.PanelSeekObject,   &m.PanelUserTestMess,   &m.PanelUserPriority,
                &m.PanelMessCodes},
               enabled);
}

void cbUserONClick(App& app) {
    TformMain& m = app.main;
    const bool on = m.cbUserON.checked;
    // Off clears both radio buttons, so the user is written with neither options bit.
    m.RBtnSMSalways.checked = on;
    m.RBtnSMSifNoGPRS.checked = false;
    // The message type rule is left out on purpose: after enabling, every field is enabled
    // until the type is changed again.
    enableUserFields(m, on);
}

void cbUserTypeMessChange(App& app) {
    TformMain& m = app.main;
    const int type = m.cbUserTypeMess.itemIndex;
    const bool sms = type == kTypeSms;
    setEnabled({&m.EditUserTtestmessH, &m.cbUserObjectON, &m.cbUserSystemON}, sms);
    const bool testMessage = sms || type == kTypeArm;
    m.cbUserTestMessON.enabled = testMessage;
    if (!testMessage)
        m.cbUserTestMessON.checked = false;
}

void cbUserStatusChange(App& app) {
    TformMain& m = app.main;
    const int shown = m.TreeView1.selected;
    if (shown < 1 || shown > kUserCount)
        return;
    // Only the stored statuses count: the list's selection is not stored until "Записать".
    const auto storedMaster = [&](int user) {
        return app.image.users[static_cast<std::size_t>(user - 1)].status == kRoleMaster;
    };
    if (!storedMaster(shown) || m.cbUserStatus.itemIndex == kStatusMaster)
        return;
    for (int i = 1; i < kUserCount; ++i) {
        const int other = (shown - 1 + i) % kUserCount + 1;
        if (storedMaster(other))
            return;
    }
    app.services.dialogs.messageBox(kTextOneMasterMustRemain, "Модем", MessageIcon::Warning,
                                    MessageButtons::Ok);
    selectItem(m.cbUserStatus, kStatusMaster);
}

void EditUserTtestmessMExit(App& app) {
    Edit& minutes = app.main.EditUserTtestmessM;
    const std::string& text = minutes.text;
    if (text.empty()) {
        minutes.text = "0";
        return;
    }
    // Pasted text that is not a number has no value to keep: it becomes "0" like an empty field.
    if (!allDigits(text)) {
        minutes.text = "0";
        return;
    }
    // Compared digit by digit so that a long pasted number cannot overflow.
    const auto first = text.find_first_not_of('0');
    const std::string significant = first == std::string::npos ? "0" : text.substr(first);
    if (significant.size() > 2 || std::stoi(significant) > kMaxMinutes)
        minutes.text = std::to_string(kMaxMinutes);
}

}  // namespace zelar
