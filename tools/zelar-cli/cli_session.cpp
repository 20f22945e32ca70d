#include "cli_session.h"

#include <QLocale>
#include <iostream>

#include "app/display_mode.h"
#include "app/login.h"
#include "app/startup.h"
#include "platform/file_path.h"
#include "platform/traced_serial_port.h"
#include "ui/config_paths.h"
#include "ui/locale_time.h"

namespace zelar::cli {

CliSession::CliSession(const CliOptions& options)
    : options_(options),
      devices_(ui::makeDeviceMap()),
      port_(*devices_),
      bootPort_(*devices_),
      trace_(options.trace.empty()
                 ? nullptr
                 : std::make_unique<std::ofstream>(filePath(options.trace), std::ios::binary)),
      tracedPort_(trace_ ? std::make_unique<TracedSerialPort>(port_, *trace_, "main") : nullptr),
      tracedBootPort_(trace_ ? std::make_unique<TracedSerialPort>(bootPort_, *trace_, "boot")
                             : nullptr),
      dialogs_(std::cerr, options.yes),
      app_(Services{tracedPort_ ? *tracedPort_ : static_cast<SerialPort&>(port_), pump_, dialogs_,
                    *devices_, tracedBootPort_ ? tracedBootPort_.get() : &bootPort_}) {
    app_.decimalSeparator = QLocale::system().decimalPoint().toStdString();
    app_.services.localTime = ui::localeTimeText;
}

bool CliSession::start() {
    if (!FormShow(app_, &profile_))
        return false;
    // As the window's "Быстрый обмен" box does.
    app_.main.cbFastExchange.checked = options_.fast;
    cbFastExchangeClick(app_);
    if (!options_.port.empty())
        selectItemText(app_.main.ComboBox1, options_.port);
    return true;
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
