#include "app/file_session/file_menu.h"

#include <memory>
#include <optional>
#include <vector>

#include "app/core/exchange_runner.h"
#include "app/core/settings_source.h"
#include "app/pages/settings_file_store.h"
#include "app/pages/show_settings.h"
#include "app/pages/sim_rules.h"
#include "app/service/settings_file_page.h"
#include "app/shell/navigation.h"
#include "app/shell/read_settings.h"
#include "files/factory_defaults.h"
#include "files/file_io.h"
#include "files/settings_compare.h"
#include "forms/gprs_page.h"
#include "link/commands.h"
#include "link/reply.h"
#include "settings/image_codec.h"
#include "text/quoted.h"

namespace zelar {

namespace {

constexpr const char* kCaption = "Модем";
constexpr const char* kTextFileEnterPassword = "Настройки считаны из файла, введите пароль";
constexpr const char* kTextNoCompareRights =
    "Сравнение с модемом доступно пользователям «Мастер» и «Хозяин»";
constexpr const char* kTextNoModemSettings = "ПО модема не отдаёт настроек для сравнения";
// Firmware before 2.01 answers only the identification, so its settings are not known.
constexpr double kFirstFullReadVersion = 201;

void message(App& app, const char* text, MessageIcon icon) {
    app.services.dialogs.messageBox(text, kCaption, icon, MessageButtons::Ok);
}

// The file's settings on the pages; the file is the window's source from now on.
void showFile(App& app, const SettingsFileContent& content, const std::string& path,
              std::shared_ptr<FileLock> lock = nullptr, const std::string& name = {}) {
    TformMain& m = app.main;
    showSettingsFromFile(app, content.image, content.autoDetect);
    // The session drops what a file does not hold (the firmware version); the pages follow.
    beginFileSession(
        app, {true, path, content.serialNumber, content.softVersion, std::move(lock), name});
    showImageOnPages(app);
    TreeView1Changing(app, m.TreeView1.selected);
    m.StatusBar1.text = "Настройки из файла: " + settingsFileName(app.source);
    m.StaticTextInformation.caption = kTextFileEnterPassword;
}

// What the read left of the modem, when it may be compared with the file: the read worked, the
// firmware gives its settings, and the file's user logs in on the modem with the file's
// password as "Мастер" or "Хозяин". Otherwise why not, for a box shown once the file is back on
// view; no reason when the read's own box has told.
struct ModemSide {
    std::optional<SettingsFileContent> content;
    const char* refusal = nullptr;
};

ModemSide modemSide(App& app, int user, const std::string& password) {
    if (app.source.file || !app.settingsRead)
        return {};  // the port did not open, or the read failed: its box told
    const double version = app.image.firmwareVersion;
    if (version != 0 && version < kFirstFullReadVersion)
        return {std::nullopt, kTextNoModemSettings};
    const UserRecord& record = app.image.users[static_cast<std::size_t>(user - 1)];
    if (record.password != password)
        return {std::nullopt, "Пароль не принят"};
    if (record.status != kRoleMaster && record.status != kRoleOwner)
        return {std::nullopt, kTextNoCompareRights};
    return {settingsFileContent(app), nullptr};
}

// The SIM cards' own phone numbers go out in the records a restore writes, but no file holds
// them: they are read from the modem first, so that writing a file never changes them.
bool takeModemSimPhones(App& app, ExchangeRunner& run) {
    if (!run.open()) {
        message(app, "Не могу открыть порт", MessageIcon::Error);
        return false;
    }
    TSettingsImage modem = app.image;
    for (int k = 1; k <= kSimCount; ++k) {
        const MemoryBlock block = *read_block::sim(k);
        run.step([&] {
            app.link.PurgeInput();
            app.link.Send(commandV17(block.address, block.length));
            const std::string reply =
                app.link.CollectReply(TModemLink::kDefaultPolls, dataReplyLength(block.length));
            const auto payload = checkShortReply(reply, block.length, false)
                                     ? decodePayload(reply, block.length)
                                     : std::nullopt;
            return payload && decodeImageBlock(block, *payload, modem);
        });
    }
    if (run.failed()) {
        run.reportFailure("Нет связи с модемом");
        return false;
    }
    for (int k = 0; k < kSimCount; ++k)
        app.image.sims[static_cast<std::size_t>(k)].phone =
            modem.sims[static_cast<std::size_t>(k)].phone;
    return true;
}

void showDifferences(App& app, const std::vector<SettingsDifference>& differences) {
    if (differences.empty()) {
        app.services.dialogs.messageBox(kTextNoDifferences, kTextCompareCaption,
                                        MessageIcon::Information, MessageButtons::Ok);
        return;
    }
    std::vector<std::vector<std::string>> rows;
    for (const SettingsDifference& d : differences)
        rows.push_back({d.page, d.field, quoted(d.first), quoted(d.second)});
    app.services.dialogs.showTable(kTextCompareCaption, {"Страница", "Поле", "В файле", "В модеме"},
                                   rows);
}

}  // namespace

bool openSettingsFile(App& app, const std::string& path) {
    // Held from before the reading, so that no other program's change falls between the
    // reading and this session's first store.
    auto lock = holdSettingsFile(app, path);
    if (!lock)
        return false;
    const auto bytes = readFileUpTo(path, kSettingsFileLimit);
    if (!bytes) {
        message(app, "Не могу открыть файл", MessageIcon::Error);
        return false;
    }
    // The fields a file does not hold (the SIM card's phone number, the object parameters)
    // keep what the window holds, as for a restore.
    SettingsFileContent content;
    content.image = app.image;
    if (bytes->size() > kSettingsFileLimit || !parseSettingsFile(*bytes, content)) {
        message(app, "Неверный формат файла", MessageIcon::Error);
        return false;
    }
    showFile(app, content, path, std::move(*lock));
    return true;
}

void openSettingsContent(App& app, const SettingsFileContent& content, const std::string& name) {
    showFile(app, content, {}, nullptr, name);
}

SettingsFileContent factorySettingsFile(const App& app) {
    SettingsFileContent content;
    content.image = app.image;
    applyFactoryValues(content.image, {kDefaultDns1, kDefaultDns2});
    content.autoDetect = 3;  // both SIM cards detected automatically
    content.created = app.services.localTime();
    return content;
}

bool MenuOpenFileClick(App& app) {
    const TModemLink::Lease lease(app.link);
    if (!lease.held())
        return false;
    const auto path = app.services.dialogs.openFileName(kSettingsFileFilter, kSettingsFileOffered);
    return path && openSettingsFile(app, *path);
}

bool MenuNewFileClick(App& app) {
    const TModemLink::Lease lease(app.link);
    if (!lease.held())
        return false;
    showFile(app, factorySettingsFile(app), {});
    return true;
}

bool MenuSaveAsClick(App& app) {
    const TModemLink::Lease lease(app.link);
    if (!lease.held())
        return false;
    if (!app.source.file) {
        message(app, kTextNoFileOpen, MessageIcon::Warning);
        return false;
    }
    // A file without a name asks for one; the old name stays when the dialog is cancelled.
    const std::string named = app.source.path;
    app.source.path.clear();
    if (storeIntoFile(app, app.image) == FileStore::Stored)
        return true;
    app.source.path = named;
    return false;
}

bool MenuWriteFileClick(App& app) {
    ExchangeRunner run(app, app.main.MenuWriteFile, app.main.BSprogressBarLine1);
    if (!run.held())
        return false;
    if (!app.source.file) {
        message(app, kTextNoFileOpen, MessageIcon::Warning);
        return false;
    }
    const std::string bytes = composeSettingsFile(settingsFileContent(app));
    if (!takeModemSimPhones(app, run))
        return false;
    return restoreSettings(app, run, bytes, RestoreScope::WholeFile) == SettingsFileResult::Written;
}

bool MenuCompareClick(App& app) {
    if (app.link.busy())
        return false;
    if (!app.source.file) {
        message(app, kTextNoFileOpen, MessageIcon::Warning);
        return false;
    }
    if (!app.login.loggedIn) {
        message(app, "Введите пароль", MessageIcon::Error);
        return false;
    }
    const int user = app.login.user;
    const std::string password = app.image.users[static_cast<std::size_t>(user - 1)].password;
    const SettingsFileContent file = settingsFileContent(app);
    // The read puts the modem on the pages and ends the file's session; all of it comes back
    // before anything is shown.
    const auto fileView = std::make_unique<const SourceView>(sourceView(app));
    btnReadNastUserClick(app);
    const ModemSide modem = modemSide(app, user, password);
    restoreSourceView(app, *fileView);
    if (!modem.content) {
        if (modem.refusal != nullptr)
            message(app, modem.refusal, MessageIcon::Error);
        return false;
    }
    showDifferences(app, compareSettings(file, *modem.content));
    return true;
}

}  // namespace zelar
