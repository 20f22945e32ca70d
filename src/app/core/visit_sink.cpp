#include "app/core/visit_sink.h"

#include "app/core/app.h"

namespace zelar {

void archiveBefore(App& app, archive::VisitOperation operation) {
    if (app.archive != nullptr)
        app.archive->before(app, operation);
}

void archiveVisit(App& app, archive::VisitOperation operation, const std::string& detail) {
    if (app.archive != nullptr)
        app.archive->after(app, operation, detail);
}

}  // namespace zelar
