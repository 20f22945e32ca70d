#include "ui/error_report.h"

#include <QtGlobal>

#include "platform/event_pump.h"

namespace zelar::ui {

void runReported(const ErrorReporter& reporter, const std::function<void()>& action) {
    try {
        action();
    } catch (const ProgramEnding&) {
        // The operation stopped because the program ends; there is no one left to tell.
    } catch (const std::exception& error) {
        if (reporter)
            reporter(error);
        else
            qCritical("%s", error.what());
    }
}

}  // namespace zelar::ui
