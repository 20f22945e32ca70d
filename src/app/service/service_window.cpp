#include "app/service/service_window.h"
#include "app/pages/show_settings.h"

#include <string>

#include "app/core/exchange_runner.h"
#include "files/factory_defaults.h"
#include "forms/gprs_page.h"
#include "link/commands.h"
#include "settings/screen_blocks.h"

namespace zelar {

namespace {

constexpr const char* kCaptionModem = "Модем";
// The restart is confirmed within about ten seconds.
constexpr int kRestartPolls = 101;
constexpr int kFactoryPauseMs = 600;
constexpr int kModePauseMs = 100;

void message(App& app, const char* text, const char* caption, MessageIcon icon) {
    app.services.dialogs.messageBox(text, caption, icon, MessageButtons::Ok);
}

}  // namespace

void FormSetupShow(App& app) {
    app.setup.LabelCountMess.caption.clear();
    app.setup.LabelCountUser.caption.clear();
}

void FormSetupClose(App& app) {
    TformSetup& s = app.setup;
    for (Label* label : {&s.labInfo, &s.labVer, &s.LabDate, &s.labelNameFile})
        label->caption.clear();
    s.ProgressBar1.position = 0;
}

bool ButtonSetDefaultClick(App& app) {
    TformSetup& s = app.setup;
    ExchangeRunner run(app, s.ButtonSetDefault);
    if (!run.held())
        return false;
    archiveBefore(app, archive::VisitOperation::FactoryDefaults);
    // The image takes the factory values whatever the modem answers.
    applyFactoryValues(app.image, {kDefaultDns1, kDefaultDns2});
    showImageOnPages(app);
    bool good = run.open();
    for (const FactoryWrite& write : factoryWrites()) {
        if (!good)
            break;
        const auto data = composeFactoryWrite(write, app.image);
        good = data && run.sendPauseOK(commandV16(data->address, data->data), kFactoryPauseMs);
        // The share shows even when this write failed: it says how far the sequence came.
        s.LabelCountUser.caption = std::to_string(write.percent) + "%";
    }
    run.close();
    if (!good) {
        run.reportFailure("Нет связи с модемом");
        return false;
    }
    s.LabelCountUser.caption.clear();
    archiveVisit(app, archive::VisitOperation::FactoryDefaults);
    message(app, "Настройки записаны", kCaptionModem, MessageIcon::None);
    return true;
}

bool ComBoxWorkAsChange(App& app) {
    TformSetup& s = app.setup;
    // The list stays disabled while its change runs, so no second change can start meanwhile.
    ExchangeRunner run(app, s.ComBoxWorkAs);
    if (!run.held())
        return false;
    if (app.services.dialogs.messageBox("Изменить режим работы модема?", "Настройки",
                                        MessageIcon::Question,
                                        MessageButtons::OkCancel) != MessageResult::Ok)
        return false;
    if (!run.open()) {
        message(app, "Не могу открыть порт", kCaptionModem, MessageIcon::Error);
        return false;
    }
    const OperatingMode mode =
        s.ComBoxWorkAs.itemIndex == 1 ? OperatingMode::Terminal : OperatingMode::EndDevice;
    const RegionWrite write = ComposeRegionWrite(mode);
    if (!run.sendPauseOK(commandV16(write.address, write.data), kModePauseMs)) {
        run.reportFailure("Модем не отвечает");
        return false;
    }
    bool restarted = false;
    run.step([&] {
        app.link.Send(commandV39());
        restarted = app.link.WaitForOK(kRestartPolls);
        return true;
    });
    if (run.failed())
        return false;  // the port's own error has been shown
    archiveVisit(app, archive::VisitOperation::OperatingMode, s.ComBoxWorkAs.text);
    if (!restarted) {
        // The mode is written; it takes effect when the modem is next restarted.
        message(app, "Для начала работы в выбранном режиме - перезагрузите модем", kCaptionModem,
                MessageIcon::Warning);
    }
    return restarted;
}

}  // namespace zelar
