#include "app/core/settings_source.h"

namespace zelar {

namespace {

void clearIdentification(TformMain& m) {
    for (Label* label : {&m.StaticTextSN, &m.StaticTextBootVer, &m.StaticTextVer})
        label->caption.clear();
    m.StaticTextSN.hint.clear();
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

std::string fileInUseText(const std::string& path) {
    return "Файл «" + path + "» уже открыт для изменений в другой программе";
}

std::optional<std::shared_ptr<FileLock>> holdSettingsFile(App& app, const std::string& path) {
    // Opening the file the session is on again keeps the lock this program has.
    if (app.source.lock && app.source.lock->target() == lockTarget(path))
        return app.source.lock;
    FileLockAttempt attempt = FileLock::take(path);
    if (attempt.heldElsewhere) {
        app.services.dialogs.messageBox(fileInUseText(path), "Модем", MessageIcon::Error,
                                        MessageButtons::Ok);
        return std::nullopt;
    }
    return std::move(attempt.lock);
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
    m.StaticTextSN.hint = app.source.path;
    // Which modem the file was saved from, as its lines for people have it.
    if (!app.source.serialNumber.empty())
        m.StaticTextBootVer.caption = "Серийный номер: " + app.source.serialNumber;
    if (!app.source.softVersion.empty())
        m.StaticTextVer.caption = "ПО контроллера: " + app.source.softVersion;
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

SourceView sourceView(const App& app) {
    SourceView view{app.main,   app.setup,        app.image,          app.login,
                    app.source, app.settingsRead, app.voiceCallUnread};
    if (app.pagesShown)
        view.pagesShown = std::make_shared<const TformMain>(*app.pagesShown);
    return view;
}

void restoreSourceView(App& app, const SourceView& view) {
    app.main = view.main;
    app.setup = view.setup;
    app.image = view.image;
    app.login = view.login;
    app.source = view.source;
    app.settingsRead = view.settingsRead;
    app.voiceCallUnread = view.voiceCallUnread;
    app.pagesShown = view.pagesShown ? std::make_unique<TformMain>(*view.pagesShown) : nullptr;
}

}  // namespace zelar
