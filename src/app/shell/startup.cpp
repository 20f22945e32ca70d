#include "app/shell/startup.h"

#include <utility>

#include "app/core/port_list.h"
#include "app/shell/display_mode.h"
#include "app/shell/navigation.h"

namespace zelar {

void resetUserPage(TformMain& main) {
    main.EditUserTel.text.clear();
    selectItem(main.cbUserStatus, kRoleGuard);
    selectItem(main.cbUserTypeMess, 0);
    main.EditUserPassword.text.clear();
    main.cbUserON.checked = false;
    selectItem(main.cbUserObjectON, 0);
    selectItem(main.cbUserSystemON, 0);
    main.cbUserPriority.checked = false;
    main.cbUserDialON.checked = false;
    main.cbUserTestMessON.checked = false;
    main.EditUserTtestmessH.text = "4";
    main.EditUserTtestmessM.text = "00";
}

bool FormShow(App& app, Profile* profile) {
    TformMain& main = app.main;
    if (profile == nullptr) {
        app.services.dialogs.messageBox("Файл конфигурации не найден", "Ошибка", MessageIcon::Error,
                                        MessageButtons::Ok);
        return false;
    }

    refreshPortList(app);
    const int com = profile->readInt(kProfileSection, kProfileCom, -1);
    selectItemText(main.ComboBox1, "COM" + std::to_string(com));

    const int expert = profile->readInt(kProfileSection, kProfileExpert, -1);
    selectItem(main.cbExpert, expert == 0 ? 0 : 1);
    cbExpertChange(app);
    main.cbFastExchange.checked = profile->readInt(kProfileSection, kProfileFast, 0) == 1;
    cbFastExchangeClick(app);
    main.cbVerifyWrites.checked = profile->readInt(kProfileSection, kProfileVerify, 0) == 1;

    showOnlyPages(main, {Page::TabSheet3});
    main.StaticTextInformation.caption = kTextReadSettingsFirst;
    main.StatusBar1.text = kTextReadSettingsFirst;

    selectItem(main.cbUser, 0);
    resetUserPage(main);

    app.login.loggedIn = false;
    app.settingsRead = false;
    app.login.role = kRoleNone;
    return true;
}

void FormClose(App& app, Profile& profile) {
    if (!profile.createFolder())
        return;
    if (const auto number = currentPortNumber(app.main)) {
        profile.writeInt(kProfileSection, kProfileCom, *number);
    }
    profile.writeInt(kProfileSection, kProfileExpert, app.main.cbExpert.itemIndex);
    // These boxes are kept once switched on: a profile that never had one stays as it was.
    for (const auto& [box, key] : {std::pair{&app.main.cbFastExchange, kProfileFast},
                                   std::pair{&app.main.cbVerifyWrites, kProfileVerify}}) {
        if (box->checked || profile.readInt(kProfileSection, key, -1) != -1)
            profile.writeInt(kProfileSection, key, box->checked ? 1 : 0);
    }
}

}  // namespace zelar
