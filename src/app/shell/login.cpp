#include "app/shell/login.h"

#include "app/core/handler_guard.h"
#include "app/shell/navigation.h"
#include "app/shell/read_settings.h"
#include "settings/value_tables.h"
#include "text/cp1251.h"
#include "text/hex.h"

namespace zelar {

namespace {

constexpr int kEnterKey = 13;

void fail(App& app, const char* text) {
    app.services.dialogs.messageBox(text, "Модем", MessageIcon::Error, MessageButtons::Ok);
}

// What a "Мастер" or "Хозяин" login opens in the service window, for the rest of the run.
void unlockServiceWindow(App& app) {
    TformSetup& s = app.setup;
    for (Button* b : {&s.BtnSavePar, &s.BtnLoadPar, &s.ButtonSetDefault, &s.BtnReadDict,
                      &s.SpBtnFlashMCU, &s.BtnOpen, &s.btnWriteDict}) {
        b->enabled = true;
    }
    if (app.image.firmwareVersion >= 205) {
        s.ComBoxWorkAs.visible = true;
        s.LabWorkAs.visible = true;
    }
}

}  // namespace

std::string roleName(int role) {
    if (const auto index = userStatusIndex(static_cast<std::uint8_t>(role)); index && role >= 0) {
        return std::string(kUserStatusNames[static_cast<std::size_t>(*index)]);
    }
    return {};
}

void ButtonApplyPasswordClick(App& app) {
    TformMain& m = app.main;
    // Every attempt ends the earlier login, and the texts that told of it go with it.
    if (app.login.loggedIn) {
        m.StatusBar1.text = kTextEnterPassword;
        m.StaticTextInformation.caption = kTextEnterPassword;
    }
    app.login.loggedIn = false;
    if (!app.settingsRead)
        return fail(app, "Перед вводом пароля считайте настройки модема");

    const std::string& typed = m.EditPassword.text;
    if (utf8Length(typed) < 4)
        return fail(app, "Пароль должен быть 4 символа");
    if (!parseWholeNumber(typed))
        return fail(app, "Пароль должен состоять из цифр");

    const int n = m.cbUser.itemIndex + 1;
    if (n < 1 || n > kUserCount ||
        typed != app.image.users[static_cast<std::size_t>(n - 1)].password) {
        return fail(app, "Пароль не принят");
    }

    app.login.user = n;
    app.login.loggedIn = true;
    app.login.role = app.image.users[static_cast<std::size_t>(n - 1)].status;

    const std::string text = "Пароль принят.Статус пользователя:" + roleName(app.login.role);
    app.services.dialogs.messageBox(text, "Модем", MessageIcon::None, MessageButtons::Ok);
    m.StaticTextInformation.caption = text;
    if (app.login.role == kRoleMaster || app.login.role == kRoleOwner)
        unlockServiceWindow(app);
    m.StatusBar1.text = kTextPasswordAccepted;
}

void EditPasswordKeyDown(App& app, int keyCode) {
    if (keyCode == kEnterKey)
        ButtonApplyPasswordClick(app);
}

bool readAndLogIn(App& app, std::optional<int> user, const std::string& password) {
    runHandler(app, [&] { btnReadNastUserClick(app); });
    if (!app.settingsRead)
        return false;
    return !user || logInAs(app, *user, password);
}

bool logInAs(App& app, int user, const std::string& password) {
    selectItem(app.main.cbUser, user - 1);
    app.main.EditPassword.text = password;
    runHandler(app, [&] { ButtonApplyPasswordClick(app); });
    return app.login.loggedIn;
}

}  // namespace zelar
