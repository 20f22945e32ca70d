#pragma once

#include <QTranslator>
#include <memory>

#include "app/core/app.h"
#include "ui/binder.h"
#include "ui/form_dialogs.h"
#include "ui/key_chord_filter.h"
#include "ui/main_window.h"
#include "ui/qsettings_profile.h"
#include "ui/qt_dialogs.h"
#include "ui/qt_event_pump.h"
#include "ui/system_serial_port.h"

namespace zelar::ui {

// The window program: its windows, created once in their fixed order, the Qt services, the
// handlers' state and the binding between them.
class ConfigProgram {
  public:
    ConfigProgram();
    ~ConfigProgram();
    ConfigProgram(const ConfigProgram&) = delete;
    ConfigProgram& operator=(const ConfigProgram&) = delete;

    // Shows the main window, which runs the start-up. False when the program must end.
    bool start();

    MainWindow& mainWindow() { return main_; }
    SetupWindow& setupWindow() { return setup_; }
    UssdWindow& ussdWindow() { return ussd_; }
    LogWindow& logWindow() { return log_; }
    ArchiveWindow& archiveWindow() { return archive_; }
    App& app() { return app_; }
    Binder& binder() { return binder_; }

  private:
    // The constructor's steps, in this order: the language, the windows, where errors go,
    // when windows may close and how they follow a running operation, the bindings, the main
    // window's and keys' events.
    void installLanguage();
    void addWindows();
    void routeErrors();
    void guardWindows();
    void bindWindows();
    void wireProgramEvents();
    void firstShow();
    void close();
    // "Отчёт о настройке…": its dialog, then the report saved by the handler.
    void reportSettings();
    void reportError(const std::exception& error);

    QTranslator qtTranslation_;  // first, so that it outlives every window
    std::unique_ptr<DeviceMap> devices_;
    SystemSerialPort port_;
    SystemSerialPort bootPort_;  // the service window's boot loader link
    QtEventPump pump_;
    MainWindow main_;
    SetupWindow setup_;
    UssdWindow ussd_;
    LogWindow log_;
    ArchiveWindow archive_;
    QtDialogs dialogs_;
    App app_;
    Binder binder_;
    std::unique_ptr<QSettingsProfile> profile_;
    KeyChordFilter keys_;
    bool started_ = false;
};

}  // namespace zelar::ui
