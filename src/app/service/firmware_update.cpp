#include "app/service/firmware_update.h"

#include "app/core/handler_guard.h"
#include "app/core/port_list.h"
#include "firmware/boot_protocol.h"
#include "link/commands.h"

namespace zelar {

namespace {

constexpr const char* kFileFilter = "Кодированная прошивка|*.dat|Открытая прошивка|*.bin";
constexpr const char* kNoVersion = "Версия не определена";
constexpr const char* kFileError = "Ошибка открытия файла";
constexpr const char* kPortError = "Ошибка открытия порта";
constexpr const char* kRestartByHand = "Перезапустите модем...";
constexpr const char* kRestarting = "Перезагрузка модема...";
constexpr const char* kWriting = "Запись программы в модем...";
constexpr const char* kCancelled = "Процесс отменен";
constexpr const char* kDoneStatus = "Запись завершена успешно.";
constexpr const char* kDoneMessage = "Запись завершена успешно";
constexpr const char* kFailedStatus = "Запись завершена с ошибкой.";
constexpr const char* kFailedMessage = "Ошибка записи";

constexpr int kTimerMs = 100;
constexpr int kAckWaitMs = 100;
// About 10 s for the modem to confirm the restart.
constexpr int kRestartPolls = 101;
// Firmware from 2.05 on restarts into the boot loader on request.
constexpr double kRestartCommandVersion = 205;

using Mode = FirmwareState::Mode;

void error(App& app, const char* text) {
    app.services.dialogs.messageBox(text, "Ошибка", MessageIcon::Error, MessageButtons::Ok);
}

void setButtons(App& app, bool enabled) {
    app.setup.SpBtnFlashMCU.enabled = enabled;
    app.setup.BtnOpen.enabled = enabled;
}

// Back to idle: nothing holds the port any more.
void endProgramming(App& app) {
    FirmwareState& fw = app.firmware;
    fw.mode = Mode::Idle;
    fw.transferring = false;
    fw.image.reset();
    fw.lease.reset();
}

void closeBootLink(App& app) {
    app.VaComm2.OnRxChar = nullptr;
    app.VaComm2.Close();
}

// How the restart request ended: whether the main link opened, and the port's error that
// ended the request, if one did (already reported).
struct RestartRequest {
    bool opened = false;
    std::string portError;
};

// Asks firmware that knows the restart command to restart into the boot loader.
RestartRequest requestRestart(App& app) {
    TformSetup& s = app.setup;
    s.labInfo.caption = kRestarting;
    if (!openLinkOnCurrentPort(app)) {
        error(app, kPortError);
        s.labInfo.caption = kPortError;
        return {};
    }
    RestartRequest request{true, {}};
    bool confirmed = false;
    try {
        app.link.ReadAvailable();
        app.link.Send(commandV39());
        confirmed = app.link.WaitForOK(kRestartPolls);
    } catch (const SerialError& e) {
        // The boot loader may still come if the modem is restarted by hand.
        reportPortError(app, e);
        request.portError = e.what();
    }
    app.link.Close();
    // After "Отмена" the status keeps saying so: nothing will listen for the boot loader.
    if (!confirmed && app.firmware.mode == Mode::Programming)
        s.labInfo.caption = kRestartByHand;
    return request;
}

bool openBootLink(App& app) {
    const auto number = currentPortNumber(app.main);
    try {
        app.VaComm2.Close();
        if (!number)
            return false;
        app.VaComm2.SetPortNumber(*number);
        app.VaComm2.OnRxChar = [&app] { VaComm2RxChar(app); };
        app.VaComm2.OnError = [&app](const SerialError& e) { VaComm2Error(app, e); };
        app.VaComm2.Open();
    } catch (const SerialError&) {
        app.VaComm2.OnRxChar = nullptr;
        return false;
    }
    return true;
}

void startTimer(App& app, EventPump::TimerId& id, void (*handler)(App&)) {
    app.services.pump.stopTimer(id);
    id = app.services.pump.startTimer(kTimerMs, [&app, handler] { handler(app); });
}

void stopCleanup(App& app) {
    app.services.pump.stopTimer(app.firmware.cleanupTimer);
    app.firmware.cleanupTimer = 0;
}

// Sends every page while each is acknowledged; a port error ends the transfer as a failure.
void transfer(App& app) {
    FirmwareState& fw = app.firmware;
    TformSetup& s = app.setup;
    s.labInfo.caption = kWriting;
    fw.errorFlag = false;
    fw.transferring = true;
    for (int page = 0; page < kFirmwarePages && !fw.errorFlag; ++page) {
        s.ProgressBar1.position = page;
        try {
            app.VaComm2.WriteBuf(composeBlock(*fw.image, page));
            // The fast exchange is the main link's setting; the boot loader's one character
            // ends the block's wait as the main link's complete replies end theirs.
            const std::string ack = PumpCollect(
                app.services.pump, kAckWaitMs, [&app] { return app.VaComm2.ReadAll(); },
                app.link.fast() ? ReplyComplete(isBlockAcknowledged) : nullptr);
            if (!isBlockAcknowledged(ack))
                fw.errorFlag = true;
        } catch (const SerialError& e) {
            reportPortError(app, e);
            fw.errorFlag = true;
        }
    }
}

}  // namespace

bool firmwareBusy(const App& app) {
    return app.firmware.lease.has_value();
}

bool waitingForBootLoader(const App& app) {
    return app.firmware.mode == Mode::Programming && !app.firmware.transferring;
}

bool FormSetupCloseQuery(App& app) {
    return !firmwareBusy(app);
}

void BtnOpenClick(App& app) {
    if (firmwareBusy(app))
        return;
    const auto name = app.services.dialogs.openFileName(kFileFilter);
    if (!name)
        return;
    FirmwareState& fw = app.firmware;
    TformSetup& s = app.setup;
    fw.path = *name;
    fw.extension = fileExtension(*name);
    s.labelNameFile.caption = *name;
    s.labelNameFile.hint = *name;
    s.labVer.caption = " ";
    s.LabDate.caption = " ";

    const FirmwareKind kind = firmwareKind(fw.extension);
    const bool coded = kind == FirmwareKind::Coded;
    s.Label4.visible = coded;
    s.LabDate.visible = coded;
    const auto file = readFirmwareFile(fw.path);
    const FirmwareVersion found = file ? firmwareVersionOf(*file, fw.extension) : FirmwareVersion{};
    s.labVer.caption = found.version.empty() ? kNoVersion : found.version;
    if (coded && !found.version.empty())
        s.LabDate.caption = found.date;
    // Said at once; "Программировать" refuses such a file too.
    if (const std::string fault = file ? firmwareImageFault(*file, kind) : ""; !fault.empty())
        error(app, fault.c_str());
}

void SpBtnFlashMCUClick(App& app) {
    FirmwareState& fw = app.firmware;
    TformSetup& s = app.setup;
    // Another operation on the port, or programming already under way.
    if (firmwareBusy(app) || app.link.busy())
        return;
    fw.lease.emplace(app.link);
    fw.mode = Mode::Programming;
    fw.lastResult = FirmwareState::Result::None;
    setRange(s.ProgressBar1, 0, kFirmwarePages - 1, 1);

    fw.image = fw.path.empty() ? std::nullopt : loadFirmwareImage(fw.path, fw.extension);
    if (!fw.image) {
        error(app, kFileError);
        endProgramming(app);
        return;
    }
    closeBootLink(app);
    s.labInfo.caption = kRestartByHand;
    RestartRequest request{true, {}};
    if (app.image.firmwareVersion >= kRestartCommandVersion) {
        fw.restarting = true;
        request = requestRestart(app);
        fw.restarting = false;
        // Also when "Отмена" was pressed during the restart request.
        if (!request.opened || fw.mode != Mode::Programming) {
            endProgramming(app);
            return;
        }
    }
    // Programming may change any setting: the state before is kept to compare with, and to
    // write back.
    archiveBefore(app, archive::VisitOperation::FirmwareProgrammed);
    if (!openBootLink(app)) {
        // A port that failed during the restart request (pulled, or the command line
        // interrupted) has said why once; the status keeps that, not a second message.
        if (request.portError.empty())
            error(app, kPortError);
        else
            s.labInfo.caption = request.portError;
        endProgramming(app);
        return;
    }
    setButtons(app, false);
    s.BtnCancel.enabled = true;
}

void VaComm2RxChar(App& app) {
    FirmwareState& fw = app.firmware;
    TformSetup& s = app.setup;
    // What came before the announcement in the same read is dropped with the read.
    if (!isBootAnnouncement(app.VaComm2.ReadAll())) {
        startTimer(app, fw.cleanupTimer, Timer2Timer);
        return;
    }
    // The clean-up of a stray byte just before the announcement would purge the transfer's
    // acknowledgements.
    stopCleanup(app);
    s.BtnCancel.enabled = false;
    // Idle, the announcement comes late, within the 100 ms before the report: that report
    // keeps the outcome of the transfer.
    if (fw.mode == Mode::Programming && fw.image)
        transfer(app);
    fw.mode = Mode::Idle;
    startTimer(app, fw.reportTimer, Timer1Timer);
    s.BtnCancel.enabled = true;
    setButtons(app, true);
}

void Timer1Timer(App& app) {
    FirmwareState& fw = app.firmware;
    TformSetup& s = app.setup;
    app.services.pump.stopTimer(fw.reportTimer);
    fw.reportTimer = 0;
    closeBootLink(app);
    const bool good = !fw.errorFlag;
    fw.lastResult = good ? FirmwareState::Result::Succeeded : FirmwareState::Result::Failed;
    endProgramming(app);
    if (good) {
        archiveVisit(app, archive::VisitOperation::FirmwareProgrammed, s.labVer.caption);
        s.labInfo.caption = kDoneStatus;
        app.services.dialogs.messageBox(kDoneMessage, "", MessageIcon::None, MessageButtons::Ok);
    } else {
        s.labInfo.caption = kFailedStatus;
        error(app, kFailedMessage);
    }
}

void Timer2Timer(App& app) {
    stopCleanup(app);
    // The link stays open: the status still asks for a restart, and that restart's "!" must
    // be heard. A transfer reads its own acknowledgements.
    if (!waitingForBootLoader(app))
        return;
    try {
        app.VaComm2.PurgeReadWrite();
    } catch (const SerialError& e) {
        VaComm2Error(app, e);
    }
}

void VaComm2Error(App& app, const SerialError& error) {
    reportPortError(app, error);
    if (!waitingForBootLoader(app) || app.firmware.restarting)
        return;
    FirmwareState& fw = app.firmware;
    stopCleanup(app);
    fw.mode = Mode::Idle;  // "Отмена" has nothing left to abandon while the link closes
    closeBootLink(app);
    fw.lastResult = FirmwareState::Result::Failed;
    endProgramming(app);
    app.setup.labInfo.caption = error.what();
    app.setup.BtnCancel.enabled = true;
    setButtons(app, true);
}

void BtnCancelClick(App& app) {
    FirmwareState& fw = app.firmware;
    if (fw.mode != Mode::Programming || fw.transferring)
        return;
    app.setup.labInfo.caption = kCancelled;
    stopCleanup(app);
    fw.mode = Mode::Idle;
    closeBootLink(app);
    setButtons(app, true);
    // A restart request under way still uses the main link; its end lets the port go.
    if (!fw.restarting)
        endProgramming(app);
}

}  // namespace zelar
