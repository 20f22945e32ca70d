#include "ui/config_program.h"

#include <QApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>

#include "app/archive_view/archive_keeping.h"
#include "app/archive_view/report_from_archive.h"
#include "app/core/handler_guard.h"
#include "app/diagnostics/signal_meter.h"
#include "app/report/save_report.h"
#include "app/service/firmware_update.h"
#include "app/service/service_window.h"
#include "app/shell/leave_page.h"
#include "app/shell/startup.h"
#include "ui/config_paths.h"
#include "ui/level_chart_painter.h"
#include "ui/locale_time.h"
#include "ui/pdf_document.h"
#include "ui/report_dialog.h"
#include "ui/window_bindings.h"
#include "ui/window_caption.h"

namespace zelar::ui {

ConfigProgram::ConfigProgram()
    : devices_(makeDeviceMap()),
      port_(*devices_),
      bootPort_(*devices_),
      setup_(&main_),
      ussd_(&main_),
      log_(&main_),
      archive_(&main_),
      dialogs_(main_),
      app_(Services{port_, pump_, dialogs_, *devices_, &bootPort_}),
      keys_(main_) {
    installLanguage();
    addWindows();
    routeErrors();
    guardWindows();
    bindWindows();
    const QString iniPath = modemIniPath();
    if (!iniPath.isEmpty())
        profile_ = std::make_unique<QSettingsProfile>(iniPath);
    wireProgramEvents();
    // The window asks before edits on a page are left behind.
    app_.askBeforeLeaving = true;
}

void ConfigProgram::installLanguage() {
    // Qt's own dialogs and buttons speak the window's language: from Qt's own folder, or from
    // "translations" beside the program, where the Windows packages put them. Their numbers and
    // dates (a file's size and time in the file dialogs) are written the Russian way too.
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    if (qtTranslation_.load(QStringLiteral("qtbase_ru"),
                            QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        qtTranslation_.load(QStringLiteral("qtbase_ru"), QCoreApplication::applicationDirPath() +
                                                             QStringLiteral("/translations")))
        QCoreApplication::installTranslator(&qtTranslation_);
    app_.decimalSeparator = QLocale::system().decimalPoint().toStdString();
    app_.services.localTime = localeTimeText;
}

void ConfigProgram::addWindows() {
    // The service window is as tall as the main window's contents; on a small screen at a
    // large scaling it scrolls, as the main window does.
    setup_.scrollContents();
    dialogs_.addWindow(WindowId::Setup, setup_);
    dialogs_.addWindow(WindowId::Ussd, ussd_);
    dialogs_.addWindow(WindowId::Log, log_);
    archive_.scrollContents();
    dialogs_.addWindow(WindowId::Archive, archive_);
    dialogs_.setWindowEvents(
        WindowId::Setup, [this] { binder_.run([this] { FormSetupShow(app_); }); },
        [this] { binder_.run([this] { FormSetupClose(app_); }); });
}

void ConfigProgram::routeErrors() {
    const ErrorReporter report = [this](const std::exception& e) { reportError(e); };
    binder_.setErrorReporter(report);
    binder_.setHandlerRunner(
        [this](const std::function<void()>& handler) { runHandler(app_, handler); });
    pump_.setErrorReporter(report);
    port_.setErrorReporter(report);
    bootPort_.setErrorReporter(report);
}

void ConfigProgram::guardWindows() {
    // A window does not close while an operation started from it runs: the operation would
    // go on unseen, holding the port. The service window also stays while firmware is being
    // programmed, which goes on between handlers.
    main_.canClose = [this] {
        if (binder_.handlerRunsIn(main_))
            return false;
        bool leave = false;
        binder_.runFrom(main_, [this, &leave] { leave = FormCloseQuery(app_); });
        return leave;
    };
    setup_.canClose = [this] {
        return !binder_.handlerRunsIn(setup_) && FormSetupCloseQuery(app_);
    };
    ussd_.canClose = [this] { return !binder_.handlerRunsIn(ussd_); };
    archive_.canClose = [this] { return !binder_.handlerRunsIn(archive_); };
    setup_.operationRuns = ussd_.operationRuns =
        archive_.operationRuns = [this] { return app_.link.busy(); };
    pump_.setBeforePass([this] { binder_.pushAll(); });
    pump_.setAfterTimer([this] { binder_.pushAll(); });
    dialogs_.setBeforeShow([this] { binder_.pushAll(); });
    app_.link.onBusy = [](bool busy) {
        if (busy)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QApplication::restoreOverrideCursor();
    };
}

void ConfigProgram::bindWindows() {
    bindMainWindow(binder_, main_, app_);
    bindSetupWindow(binder_, setup_, app_.setup);
    bindUssdDialog(binder_, ussd_, app_.ussd);
    bindLogWindow(binder_, log_, app_.log);
    bindArchiveWindow(binder_, archive_, app_.archiveForm);
    bindControlEvents(binder_, main_, FormId::Main, app_);
    bindControlEvents(binder_, setup_, FormId::Setup, app_);
    bindControlEvents(binder_, ussd_, FormId::Ussd, app_);
    bindControlEvents(binder_, archive_, FormId::Archive, app_);
    binder_.at(main_, "MenuReport").onClick([this] { reportSettings(); }).lookDisabledWhile([this] {
        return app_.link.busy();
    });
    // The service window follows its rows as they are shown and hidden; the file's rows keep
    // their width when "Дата выпуска:" is hidden.
    setup_.form.firmwareFields->setColumnMinimumWidth(0, setup_.form.Label4->sizeHint().width());
    setup_.setWindowTitle(shownCaption(app_.setup.caption));
    ussd_.setWindowTitle(shownCaption(app_.ussd.caption));
    log_.setWindowTitle(shownCaption(app_.log.caption));
}

void ConfigProgram::wireProgramEvents() {
    main_.onFirstShow = [this] { firstShow(); };
    main_.onClose = [this] { close(); };
    keys_.onKeyDown = [this](const KeyPress& key) {
        binder_.run([this, &key] { FormKeyDown(app_, key); });
    };
    qApp->installEventFilter(&keys_);
}

ConfigProgram::~ConfigProgram() {
    qApp->removeEventFilter(&keys_);
}

bool ConfigProgram::start() {
    binder_.pushAll();
    main_.placeOnScreen();
    main_.show();
    return started_;
}

void ConfigProgram::firstShow() {
    binder_.run([this] {
        started_ = FormShow(app_, profile_.get());
        const QString folder = QFileInfo(modemIniPath()).absolutePath();
        startArchiveKeeping(app_, profile_.get(), folder.toStdString());
    });
}

void ConfigProgram::close() {
    binder_.run([this] { stopSignalMeter(app_); });
    if (!started_ || !profile_)
        return;
    binder_.run([this] { FormClose(app_, *profile_); });
}

void ConfigProgram::reportSettings() {
    reportSettingsClick(app_, profile_.get(),
                        [this](const HandoverRequest& given) {
                            return askReportWithArchive(
                                app_, given, [this](const HandoverRequest& offered) {
                                    return ReportDialog::ask(&main_, offered);
                                });
                        },
                        {pdfFromReport, levelChartPng});
}

void ConfigProgram::reportError(const std::exception& error) {
    dialogs_.messageBox(error.what(), "Ошибка", MessageIcon::Error, MessageButtons::Ok);
}

}  // namespace zelar::ui
