#include "app/service/settings_file_page.h"
#include "app/pages/show_settings.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "app/core/exchange_runner.h"
#include "app/pages/sim_rules.h"
#include "app/pages/user_rules.h"
#include "files/file_io.h"
#include "files/settings_file.h"
#include "link/commands.h"
#include "settings/image_codec.h"

namespace zelar {

namespace {

constexpr const char* kFileName = kSettingsFileOffered;
constexpr const char* kFilter = kSettingsFileFilter;
constexpr const char* kExtension = kSettingsFileExtension;
constexpr const char* kCaption = "Модем";
constexpr int kWritePauseMs = 1000;

void error(App& app, const std::string& text) {
    app.services.dialogs.messageBox(text, kCaption, MessageIcon::Error, MessageButtons::Ok);
}

// One V16 line, or a group of regions the modem detects by itself (no lines) that moves the
// percentage all the same.
struct LoadStep {
    std::vector<std::string> lines;
    int percent = 4;
};

// The writes after a load, in their order; nothing when a region cannot be composed.
std::optional<std::vector<LoadStep>> loadSteps(const App& app) {
    const TSettingsImage& image = app.image;
    std::vector<LoadStep> steps;
    bool good = true;
    auto add = [&](SettingsRegion region, int k) {
        const auto write = ComposeRegionWrite(region, k, image);
        good = good && write.has_value();
        if (write)
            steps.push_back({{commandV16(write->address, write->data)}});
    };
    for (int n = 1; n <= kUserCount; ++n)
        add(SettingsRegion::UserRecord, n);
    add(SettingsRegion::ModemFlags, 1);
    const bool autoDetect[] = {app.main.AutoSetPar1.checked, app.main.AutoSetPar2.checked};
    for (int k = 1; k <= kSimCount; ++k) {
        add(SettingsRegion::SimRecord, k);
        add(SettingsRegion::SimThreshold, k);
        if (autoDetect[k - 1]) {
            steps.push_back({{}, 16});
            continue;
        }
        for (SettingsRegion region : {SettingsRegion::SimUssd, SettingsRegion::SimApn,
                                      SettingsRegion::SimApnLogin, SettingsRegion::SimApnPassword})
            add(region, k);
    }
    add(SettingsRegion::ModemFlags, 1);
    add(SettingsRegion::DnsServers, 1);
    add(SettingsRegion::GprsAuth, 1);
    add(SettingsRegion::ServerRecord, 1);
    add(SettingsRegion::ServerRecord, 2);
    add(SettingsRegion::LinkTestPeriod, 1);
    if (!good)
        return std::nullopt;
    return steps;
}

SettingsFileResult writeLoaded(App& app, ExchangeRunner& run) {
    Label& percentLabel = app.setup.LabWNastr;
    const auto steps = loadSteps(app);
    if (!steps) {
        error(app, "Неверный формат файла");
        return SettingsFileResult::Failed;
    }
    bool good = run.open();
    int percent = 0;
    // The service window shows the share in its label; the main window's "Файл" menu, whose
    // runner has the main window's bar, on the bar.
    run.setProgress(100, 1);
    for (const LoadStep& step : *steps) {
        for (const std::string& line : step.lines)
            good = good && run.sendPauseOK(line, kWritePauseMs);
        if (!good)
            break;
        percent += step.percent;
        percentLabel.caption = std::to_string(percent) + "%";
        run.setPosition(percent);
    }
    run.close();
    if (!good) {
        run.reportFailure("Нет связи с модемом");
        return SettingsFileResult::Failed;
    }
    app.services.dialogs.messageBox("Настройки записаны", "Сохранение настроек",
                                    MessageIcon::Information, MessageButtons::Ok);
    percentLabel.caption.clear();
    return SettingsFileResult::Written;
}

}  // namespace

std::optional<LoadRefusal> takeFileForLoad(std::string_view bytes, SettingsFileContent& content) {
    constexpr const char* kBadFormat = "Неверный формат файла";
    SettingsFileContent loaded = content;
    if (bytes.size() > kSettingsFileLimit || !parseSettingsFile(bytes, loaded))
        return LoadRefusal{kBadFormat, MessageIcon::Error, {}};
    if (const auto problem = firstUnwritableValue(bytes))
        return LoadRefusal{kBadFormat, MessageIcon::Error, problemText(*problem)};
    // A modem left without a "Мастер" could never again have its settings saved or loaded.
    const auto& users = loaded.image.users;
    if (std::none_of(users.begin(), users.end(),
                     [](const UserRecord& user) { return user.status == kRoleMaster; }))
        return LoadRefusal{kTextOneMasterMustRemain, MessageIcon::Warning, {}};
    content = std::move(loaded);
    return std::nullopt;
}

SettingsFileResult BtnSaveParClick(App& app) {
    ProgressBar unseen;  // the save shows no progress
    ExchangeRunner run(app, app.setup.BtnSavePar, unseen);
    if (!run.held())
        return SettingsFileResult::Cancelled;
    const auto path = app.services.dialogs.saveFileName(kFilter, kExtension, kFileName);
    if (!path)
        return SettingsFileResult::Cancelled;
    const std::string failure =
        writeFileReplacing(*path, composeSettingsFile(settingsFileContent(app)));
    if (!failure.empty()) {
        error(app, failure);
        return SettingsFileResult::Failed;
    }
    app.services.dialogs.messageBox("Копия настроек успешно создана", kCaption, MessageIcon::None,
                                    MessageButtons::Ok);
    return SettingsFileResult::Saved;
}

SettingsFileResult BtnLoadParClick(App& app) {
    ProgressBar unseen;  // the load shows its progress in LabWNastr
    ExchangeRunner run(app, app.setup.BtnLoadPar, unseen);
    if (!run.held())
        return SettingsFileResult::Cancelled;
    const auto path = app.services.dialogs.openFileName(kFilter, kFileName);
    if (!path)
        return SettingsFileResult::Cancelled;
    const auto bytes = readFileUpTo(*path, kSettingsFileLimit);
    if (!bytes) {
        error(app, "Не могу открыть файл");
        return SettingsFileResult::Failed;
    }
    return restoreSettings(app, run, *bytes);
}

SettingsFileResult restoreSettings(App& app, ExchangeRunner& run, std::string_view bytes) {
    // Every line is checked before anything changes, so a bad file leaves all as it was.
    SettingsFileContent content;
    content.image = app.image;
    if (const auto refusal = takeFileForLoad(bytes, content)) {
        app.services.dialogs.messageBox(refusal->text, kCaption, refusal->icon, MessageButtons::Ok);
        return SettingsFileResult::Failed;
    }
    showSettingsFromFile(app, content.image, content.autoDetect);
    const MessageResult answer = app.services.dialogs.messageBox(
        "Настройки считаны успешно. Записать восстановленные настройки ?",
        "Восстановление настроек", MessageIcon::Question, MessageButtons::YesNo);
    if (answer != MessageResult::Yes)
        return SettingsFileResult::Loaded;
    // From a settings file's session the file goes into the modem; otherwise a file restores it.
    const auto operation =
        app.source.file ? archive::VisitOperation::FileWritten : archive::VisitOperation::Restore;
    archiveBefore(app, operation);
    const SettingsFileResult result = writeLoaded(app, run);
    if (result == SettingsFileResult::Written)
        archiveVisit(app, operation);
    return result;
}

}  // namespace zelar
