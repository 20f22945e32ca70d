#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/core/firmware_state.h"
#include "app/core/visit_sink.h"
#include "diagnostics/signal_history.h"
#include "firmware/boot_link.h"
#include "forms/form_archive.h"
#include "forms/form_main.h"
#include "link/modem_link.h"
#include "platform/device_map.h"
#include "platform/dialogs.h"
#include "platform/event_pump.h"
#include "platform/file_lock.h"
#include "platform/local_time.h"
#include "platform/profile.h"
#include "platform/serial_port.h"
#include "settings/settings_image.h"

namespace zelar {

// What the operating system and the toolkit give the handlers.
struct Services {
    SerialPort& port;
    EventPump& pump;
    Dialogs& dialogs;
    DeviceMap& devices;
    // The boot loader link's port object, on the same COM port as `port`; without it the
    // firmware cannot be programmed.
    SerialPort* bootPort = nullptr;
    // The time of saving written into settings files.
    LocalTimeText localTime = numericLocalTime;
};

// Roles of the modem's users and of the login.
enum Role : int { kRoleMaster = 0, kRoleOwner = 1, kRoleGuard = 2, kRoleNone = 3 };

// Who may open, and so write, the modem settings and the voice call nodes; opening the tree and
// writing both ask this.
inline bool roleMayOpenSettingsNode(int role, int node) {
    if (node == kNodeModem)
        return role == kRoleMaster;
    if (node == kNodeVoiceCall)
        return role == kRoleMaster || role == kRoleOwner;
    return false;
}

struct LoginState {
    bool loggedIn = false;
    int role = kRoleNone;  // any other value is carried unchanged
    int user = 0;          // 1 to 6 once a password was accepted
};

// The signal meter while it runs. It holds the link from its start to its end, so that no
// other operation starts, but opens the port only for each sample's exchange.
struct SignalMeterState {
    bool running = false;
    bool sampling = false;  // an exchange is under way; it keeps the link until it ends
    int intervalMs = 1000;
    EventPump::TimerId timer = 0;
    std::optional<TModemLink::Lease> lease;
    SignalHistory history;
    // The modem the history was taken from, as "Модем" named it when the meter started: a
    // report of another modem read since carries no antenna check.
    std::string modem;
    // Told of every sample once the page shows it (the command line prints it).
    std::function<void(const SignalSample&)> onSample;
};

// Where the settings on the pages came from and where "Записать" stores them: the modem on the
// selected port, or a settings file. Every handler that sends asks this one value.
struct SettingsSource {
    bool file = false;
    std::string path;  // the file's; empty for a file of factory values not yet saved
    // The file's lines for people (the modem's serial number and controller version), kept as
    // the file had them: a file holds no identification to show.
    std::string serialNumber;
    std::string softVersion;
    // The file held against changes by other programs while the session lasts; none for a new
    // file not yet saved, or where no lock can be made. Copies of the source share it.
    std::shared_ptr<FileLock> lock;
    // What an unsaved file holds (an archived visit), shown in place of kTextNewFileName.
    std::string name;
};

// The window's archive of modems: where "Вести архив модемов" is remembered and the archive
// kept while it is on.
struct ArchiveKeeping {
    Profile* profile = nullptr;           // Modem.ini; null when it could not be made
    std::string configFolder;             // the default archive lies here
    std::shared_ptr<VisitSink> recorder;  // what App::archive points at while kept
    // Why the archive could not be written or read, once told; empty while it works.
    std::string failure;
};

// The program's state for the whole run: the windows, the link and what the main window owns.
struct App {
    explicit App(Services s) : services(s), link(s.port, s.pump), VaComm2(s.bootPort, s.pump) {}

    Services services;
    TformMain main;
    TformSetup setup;
    TFormUSSD ussd;
    TFormInit log;
    TformArchive archiveForm;
    TModemLink link;

    TSettingsImage image;  // also holds the controller firmware version number
    bool settingsRead = false;
    // The last read could not read the voice call block: its controls hold no values and the
    // page is not written until a read fills them.
    bool voiceCallUnread = false;
    LoginState login;
    SettingsSource source;
    // The settings pages as they stood when last filled from a read, a file or a write: a field
    // that differs from here is an edit not yet written. Nothing before the pages were filled.
    // On the heap: a window model is large, and an App often lives on the stack.
    std::unique_ptr<TformMain> pagesShown;
    // Leaving a page with edits asks whether to write them (the window); a script never asks.
    bool askBeforeLeaving = false;
    ArchiveKeeping archiveKeeping;

    // The system's decimal separator (UTF-8), for numbers shown with decimals; the front end
    // sets it from the locale.
    std::string decimalSeparator = ".";
    // The service window's boot loader link and programming state.
    TVaComm VaComm2;
    FirmwareState firmware;
    SignalMeterState meter;
    // The archive of modems the handlers tell of each visit; null while the user keeps none.
    VisitSink* archive = nullptr;
};

}  // namespace zelar
