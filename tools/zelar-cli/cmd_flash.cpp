#include <iostream>

#include "app/core/handler_guard.h"
#include "app/service/firmware_update.h"
#include "commands.h"
#include "file_checks.h"
#include "firmware/firmware_image.h"
#include "interrupt.h"
#include "interruptible_port.h"
#include "report_output.h"

namespace zelar::cli {

namespace {

constexpr int kDefaultWaitSeconds = 60;

// Until the programming has ended; waiting for the boot loader ends on an interrupt or after
// `waitSeconds`.
void waitForFirmware(App& app, EventPump& pump, int waitSeconds) {
    const std::int64_t deadline = pump.tickMs() + std::int64_t(waitSeconds) * 1000;
    while (firmwareBusy(app)) {
        // Nothing is read while waiting, so the interrupted port cannot end the wait itself.
        if (waitingForBootLoader(app) && interrupted()) {
            runHandler(app, [&] { VaComm2Error(app, SerialError(kInterruptedText)); });
            return;
        }
        if (waitingForBootLoader(app) && pump.tickMs() >= deadline) {
            std::cerr << "no boot loader within " << waitSeconds << " s" << std::endl;
            runHandler(app, [&] { BtnCancelClick(app); });
            return;
        }
        pump.processEvents(100);
    }
}

// A file that cannot be programmed is refused before the modem is read or restarted; so is one
// without the version text unless --yes answers the question that programming asks.
bool flashFileReady(CliSession& session, const CliOptions& options) {
    const std::string& path = options.files[0];
    if (!inputFileReady(path))
        return false;
    const auto file = readFirmwareFile(path);
    if (!file)
        return true;  // "Программировать" says that it cannot open it
    const std::string extension = fileExtension(path);
    const std::string fault = firmwareImageFault(*file, firmwareKind(extension));
    if (!fault.empty()) {
        session.dialogs().messageBox(fault, "Ошибка", MessageIcon::Error, MessageButtons::Ok);
        return false;
    }
    if (firmwareVersionOf(*file, extension).version.empty() && !options.yes) {
        std::cerr << "zelar-cli: " << path
                  << ": no firmware version in the file; give --yes to program it all the same\n";
        return false;
    }
    return true;
}

}  // namespace

int runFirmwareInfo(CliSession& session, const CliOptions& options) {
    if (options.files.size() != 1)
        return badArguments("fw-info takes one file");
    const std::string& path = options.files[0];
    Report report;
    if (!inputFileReady(path))
        return printReport(session, options, report, 2);
    const auto file = readFirmwareFile(path);
    if (!file) {
        std::cerr << "zelar-cli: cannot read " << path << '\n';
        return printReport(session, options, report, 2);
    }
    const std::string extension = fileExtension(path);
    const FirmwareKind kind = firmwareKind(extension);
    const FirmwareVersion found = firmwareVersionOf(*file, extension);
    auto& fields = report.section({});
    fields.push_back({"version", found.version.empty() ? "Версия не определена" : found.version});
    if (kind == FirmwareKind::Coded && !found.date.empty())
        fields.push_back({"date", found.date});
    const std::string fault = firmwareImageFault(*file, kind);
    const bool programmable = fault.empty();
    if (!programmable)
        std::cerr << "zelar-cli: " << path << ": " << fault << '\n';
    fields.push_back({"pages", std::to_string(programmable ? payloadPages(*file, kind) : 0)});
    return printReport(session, options, report, programmable ? 0 : 2);
}

int runFlash(CliSession& session, const CliOptions& options) {
    if (options.port.empty())
        return badArguments("flash needs --port COMn");
    if (options.files.size() != 1)
        return badArguments("flash needs one firmware file");
    if (!flashFileReady(session, options))
        return 2;
    if (!session.start())
        return 1;
    App& app = session.app();
    if (options.user || !options.password.empty()) {
        session.showProgress();
        if (!session.readAndLogIn())
            return 1;
    }

    // The service window's statuses and progress, as they change.
    std::string status;
    const auto showStatus = [&app, &status] {
        if (app.setup.labInfo.caption != status) {
            status = app.setup.labInfo.caption;
            if (!status.empty())
                std::cerr << "status: " << status << std::endl;
        }
    };
    const ui::ScopedBeforePass progress(session.pump(), [&app, showStatus, shown = -1]() mutable {
        const TformSetup& s = app.setup;
        showStatus();
        if (app.firmware.transferring && s.ProgressBar1.position != shown) {
            shown = s.ProgressBar1.position;
            std::cerr << "progress " << shown << '/' << s.ProgressBar1.max << std::endl;
        }
    });

    session.dialogs().queueFile(options.files[0]);
    runHandler(app, [&] { BtnOpenClick(app); });
    std::cerr << "file: " << app.setup.labelNameFile.caption << ", version "
              << app.setup.labVer.caption << std::endl;
    runHandler(app, [&] { SpBtnFlashMCUClick(app); });

    waitForFirmware(app, session.pump(), options.waitSeconds.value_or(kDefaultWaitSeconds));
    showStatus();
    return app.firmware.lastResult == FirmwareState::Result::Succeeded ? 0 : 1;
}

}  // namespace zelar::cli
