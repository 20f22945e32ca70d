#pragma once

#include <fstream>
#include <memory>

#include "app/archive/visit_recorder.h"
#include "app/core/app.h"
#include "cli_options.h"
#include "interruptible_port.h"
#include "platform/device_map.h"
#include "platform/memory_profile.h"
#include "script/script_dialogs.h"
#include "ui/qt_event_pump.h"
#include "ui/system_serial_port.h"

namespace zelar::cli {

// The window's handlers without a window: the services over Qt Core, the models, the answers
// to questions (the --yes answer or each question's default), messages on stderr.
class CliSession {
  public:
    explicit CliSession(const CliOptions& options);

    App& app() { return app_; }
    ScriptDialogs& dialogs() { return dialogs_; }
    ui::QtEventPump& pump() { return pump_; }
    // False when --trace names a file that cannot be written.
    bool traceReady() const { return options_.trace.empty() || (trace_ && *trace_); }
    // False when a line of the trace could not be written (a full disk).
    bool traceWritten() { return !trace_ || trace_->flush(); }

    // Starts as the main window does and selects --port when given. False when it cannot start.
    bool start();
    // Selects the port in the port list, as the user picks it there.
    void selectPort(const std::string& name);
    // Prints the progress bar's moves to stderr while handlers run.
    void showProgress();
    // Reads the modem as " Считать" does and, with --user and --password, logs in. False when
    // either failed.
    bool readAndLogIn();
    // The opening of every command that works on the modem: start, progress, read and login.
    bool startAndLogIn();
    // Which settings sections the modem took, for a command that was interrupted; empty when
    // nothing was written.
    std::string writtenSummary() const { return link_.writes().summary(); }

  private:
    const CliOptions& options_;
    std::unique_ptr<DeviceMap> devices_;
    ui::QtEventPump pump_;
    ui::SystemSerialPort port_;
    ui::SystemSerialPort bootPort_;  // the boot loader link, for programming
    // With --trace, both links go through tracing ports that write to the file.
    std::unique_ptr<std::ofstream> trace_;
    std::unique_ptr<SerialPort> tracedPort_;
    std::unique_ptr<SerialPort> tracedBootPort_;
    // What the handlers use: the links above, closed when the program is interrupted.
    InterruptiblePort link_;
    InterruptiblePort bootLink_;
    ScriptDialogs dialogs_;
    // With the archive of modems on, every visit the handlers tell of; its failure is a line
    // on stderr and never changes the exit status.
    std::unique_ptr<VisitRecorder> recorder_;
    App app_;
    // The command line keeps no configuration of its own.
    MemoryProfile profile_;
    std::string portAsked_;  // the port last selected, for the note when it cannot be opened
};

}  // namespace zelar::cli
