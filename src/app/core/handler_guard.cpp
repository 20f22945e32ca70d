#include "app/core/handler_guard.h"

namespace zelar {

void reportPortError(App& app, const SerialError& error) {
    app.services.dialogs.messageBox(error.what(), "Ошибка", MessageIcon::Error, MessageButtons::Ok);
}

void runHandler(App& app, const std::function<void()>& handler) {
    try {
        handler();
    } catch (const SerialError& error) {
        app.link.Close();
        reportPortError(app, error);
    }
}

}  // namespace zelar
