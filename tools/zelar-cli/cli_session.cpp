#include "cli_session.h"

#include <QLocale>
#include <iostream>

#include "app/pages/voice_object_rules.h"
#include "app/shell/display_mode.h"
#include "app/shell/login.h"
#include "app/shell/read_settings.h"
#include "app/shell/startup.h"
#include "archive_choice.h"
#include "open_failure_note.h"
#include "platform/file_path.h"
#include "platform/regular_files.h"
#include "platform/traced_serial_port.h"
#include "ui/config_paths.h"
#include "ui/locale_time.h"

namespace zelar::cli {

namespace {

// A trace holds every password sent, so a new one is readable by its owner only; a failure to
// create it shows as the stream's. An existing trace is appended to.
std::unique_ptr<std::ofstream> openTrace(const std::string& path) {
    if (path.empty())
        return nullptr;
    createPrivateFile(path);
    return std::make_unique<std::ofstream>(filePath(path), std::ios::binary | std::ios::app);
}

}  // namespace

CliSession::CliSession(const CliOptions& options)
    : options_(options),
      devices_(ui::makeDeviceMap()),
      port_(*devices_),
      bootPort_(*devices_),
      trace_(openTrace(options.trace)),
      tracedPort_(trace_ ? std::make_unique<TracedSerialPort>(port_, *trace_, "main") : nullptr),
      tracedBootPort_(trace_ ? std::make_unique<TracedSerialPort>(bootPort_, *trace_, "boot")
                             : nullptr),
      link_(tracedPort_ ? *tracedPort_ : static_cast<SerialPort&>(port_)),
      bootLink_(tracedBootPort_ ? *tracedBootPort_ : static_cast<SerialPort&>(bootPort_)),
      dialogs_(std::cerr, options.yes),
      app_(Services{link_, pump_, dialogs_, *devices_, &bootLink_}) {
    if (archiveRecording(options)) {
        recorder_ = std::make_unique<VisitRecorder>(archiveFileFor(options));
        recorder_->installer = options.installer;
        recorder_->onFailure = [](const std::string& text) { std::cerr << text << '\n'; };
        app_.archive = recorder_.get();
    }
    app_.decimalSeparator = QLocale::system().decimalPoint().toStdString();
    app_.services.localTime = ui::localeTimeText;
    dialogs_.setNote([this](const std::string& text) -> std::string {
        if (text != kTextCannotOpenPort && text != kTextResetCannotOpenPort)
            return {};
        if (port_.lastOpenFailure().kind != ui::OpenFailure::None)
            return openFailureNote(port_.lastOpenFailure());
        // A port that the port list does not hold was never tried.
        if (!portAsked_.empty() && app_.main.ComboBox1.itemIndex < 0)
            return "zelar-cli: " + portAsked_ + ": no such device";
        return {};
    });
}

bool CliSession::start() {
    if (!FormShow(app_, &profile_))
        return false;
    // As the window's "Быстрый обмен" box does.
    app_.main.cbFastExchange.checked = options_.fast;
    cbFastExchangeClick(app_);
    app_.main.cbVerifyWrites.checked = options_.verify;
    if (!options_.port.empty())
        selectPort(options_.port);
    return true;
}

void CliSession::selectPort(const std::string& name) {
    portAsked_ = name;
    selectItemText(app_.main.ComboBox1, name);
}

void CliSession::showProgress() {
    pump_.setBeforePass([this, shown = -1]() mutable {
        const ProgressBar& bar = app_.main.BSprogressBarLine1;
        if (bar.position != shown) {
            shown = bar.position;
            std::cerr << "progress " << bar.position << '/' << bar.max << std::endl;
        }
    });
}

bool CliSession::readAndLogIn() {
    return zelar::readAndLogIn(app_, options_.user, options_.password);
}

bool CliSession::startAndLogIn() {
    if (!start())
        return false;
    showProgress();
    return readAndLogIn();
}

}  // namespace zelar::cli
