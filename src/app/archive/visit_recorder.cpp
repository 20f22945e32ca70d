#include "app/archive/visit_recorder.h"

namespace zelar {

VisitRecorder::VisitRecorder(StoreOpener open, std::function<archive::UtcMillis()> clock)
    : open_(std::move(open)), clock_(std::move(clock)) {}

VisitRecorder::VisitRecorder(const std::string& path)
    : VisitRecorder([path] { return archive::openSqliteArchive(path, archive::OpenMode::Write); }) {
}

void VisitRecorder::before(App& app, archive::VisitOperation operation) {
    record(app, operation, true, {});
}

void VisitRecorder::after(App& app, archive::VisitOperation operation, const std::string& detail) {
    record(app, operation, false, detail);
}

archive::ArchiveStore* VisitRecorder::store() {
    return store_.get();
}

void VisitRecorder::record(App&, archive::VisitOperation, bool, const std::string&) {}

void VisitRecorder::fail(const std::string& reason) {
    if (failed_)
        return;
    failed_ = true;
    if (onFailure)
        onFailure(reason);
}

}  // namespace zelar
