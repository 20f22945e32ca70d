#include "ui/error_report.h"

#include <QtGlobal>

namespace zelar::ui {

void runReported(const ErrorReporter& reporter, const std::function<void()>& action) {
    try {
        action();
    } catch (const std::exception& error) {
        if (reporter)
            reporter(error);
        else
            qCritical("%s", error.what());
    }
}

}  // namespace zelar::ui
