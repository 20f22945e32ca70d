#include "app/core/settings_source.h"

namespace zelar {

namespace {

void clearIdentification(TformMain& m) {
    for (Label* label : {&m.StaticTextSN, &m.StaticTextBootVer, &m.StaticTextVer})
        label->caption.clear();
    m.EditIMEI.text.clear();
    // What the archive said belongs to the modem read last.
    for (Control* c :
         {static_cast<Control*>(&m.StaticTextArchive), static_cast<Control*>(&m.BtnArchiveChanges),
          static_cast<Control*>(&m.BtnArchiveRevert)})
        c->visible = false;
}

// A login made against one source never carries over to another.
void endLogin(App& app) {
    app.login = LoginState{};
}

}  // namespace

std::string settingsFileName(const SettingsSource& source) {
    if (source.path.empty())
        return source.name.empty() ? kTextNewFileName : source.name;
    const auto slash = source.path.find_last_of("/\\");
    return slash == std::string::npos ? source.path : source.path.substr(slash + 1);
}

bool refuseWithFileOpen(App& app) {
    if (!app.source.file)
        return false;
    app.services.dialogs.messageBox(kTextNeedsModem, "Модем", MessageIcon::Warning,
                                    MessageButtons::Ok);
    return true;
}

void beginFileSession(App& app, SettingsSource source) {
    app.source = std::move(source);
    app.source.file = true;
    endLogin(app);
    app.settingsRead = true;
    // A file holds no firmware version: nothing that depends on one is offered.
    app.image.firmwareVersion = 0;
    TformMain& m = app.main;
    clearIdentification(m);
    const std::string name = settingsFileName(app.source);
    m.StaticTextSN.caption = "Файл: " + name;
    m.caption = name + " — " + TformMain::kCaption;
}

void endFileSession(App& app) {
    if (!app.source.file)
        return;
    app.source = SettingsSource{};
    endLogin(app);
    clearIdentification(app.main);
    app.main.caption = TformMain::kCaption;
}

}  // namespace zelar
