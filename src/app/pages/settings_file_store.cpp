#include "app/pages/settings_file_store.h"

#include "app/core/settings_source.h"
#include "files/file_io.h"

namespace zelar {

namespace {

// The caption's text after its fixed prefix; all of it when the prefix is missing.
std::string shownAfter(const std::string& caption, const std::string& prefix) {
    return caption.rfind(prefix, 0) == 0 ? caption.substr(prefix.size()) : caption;
}

}  // namespace

SettingsFileContent settingsFileContent(const App& app) {
    SettingsFileContent content;
    content.image = app.image;
    content.created = app.services.localTime();
    if (app.source.file) {
        content.serialNumber = app.source.serialNumber;
        content.softVersion = app.source.softVersion;
    } else {
        content.serialNumber = shownAfter(app.main.StaticTextSN.caption, "Серийный номер: ");
        content.softVersion = shownAfter(app.main.StaticTextVer.caption, "ПО контроллера: ");
    }
    content.autoDetect = static_cast<std::uint8_t>((app.main.AutoSetPar1.checked ? 1 : 0) |
                                                   (app.main.AutoSetPar2.checked ? 2 : 0));
    return content;
}

FileStore storeIntoFile(App& app, const TSettingsImage& image) {
    std::string path = app.source.path;
    if (path.empty()) {
        const auto chosen = app.services.dialogs.saveFileName(
            kSettingsFileFilter, kSettingsFileExtension, kSettingsFileOffered);
        if (!chosen)
            return FileStore::Cancelled;
        path = *chosen;
    }
    // A new name is held before it is written, as an opened file is.
    auto lock = holdSettingsFile(app, path);
    if (!lock)
        return FileStore::Failed;
    SettingsFileContent content = settingsFileContent(app);
    content.image = image;
    const std::string failure = writeFileReplacing(path, composeSettingsFile(content));
    if (!failure.empty()) {
        app.services.dialogs.messageBox(failure, "Модем", MessageIcon::Error, MessageButtons::Ok);
        return FileStore::Failed;
    }
    if (path != app.source.path) {
        SettingsSource named = app.source;
        named.path = path;
        named.lock = std::move(*lock);
        const LoginState login = app.login;
        beginFileSession(app, named);
        app.login = login;  // the same settings under a new name: the login stands
    }
    app.main.StatusBar1.text = kTextWrittenToFile;
    return FileStore::Stored;
}

}  // namespace zelar
