#include "app/archive/visit_recorder.h"

#include "app/archive/app_snapshot.h"
#include "app/archive/archive_setting.h"

namespace zelar {

namespace {

using archive::VisitOperation;

// The operations after which the App's pages hold what the modem holds. After programming,
// the modem's settings are known only at the next read.
bool knowsSettingsAfter(VisitOperation operation) {
    return operation != VisitOperation::FirmwareProgrammed;
}

}  // namespace

VisitRecorder::VisitRecorder(StoreOpener open, std::function<archive::UtcMillis()> clock)
    : open_(std::move(open)), clock_(std::move(clock)) {}

VisitRecorder::VisitRecorder(const std::string& path)
    : VisitRecorder([path] { return archive::openSqliteArchive(path, archive::OpenMode::Write); }) {
}

void VisitRecorder::before(App& app, VisitOperation operation) {
    record(app, operation, true, {});
}

void VisitRecorder::after(App& app, VisitOperation operation, const std::string& detail) {
    record(app, operation, false, detail);
}

archive::ArchiveStore* VisitRecorder::store() {
    if (store_)
        return store_.get();
    try {
        store_ = open_();
    } catch (const archive::ArchiveError& error) {
        fail(error.what());
    }
    return store_.get();
}

void VisitRecorder::record(App& app, VisitOperation operation, bool before,
                           const std::string& detail) {
    if (operation == VisitOperation::Read && !before) {
        readSummary_.reset();
        firmwareCheck_.reset();
    }
    // A settings file on the pages is no visit to a modem.
    if (app.source.file)
        return;
    archive::VisitEntry entry;
    entry.serial = appSerialNumber(app);
    if (entry.serial.empty())
        return;
    entry.time = clock_();
    entry.operation = operation;
    entry.before = before;
    entry.detail = detail;
    entry.port = app.main.ComboBox1.text;
    entry.user = app.login.loggedIn ? app.login.user : 0;
    entry.installer = installer;
    entry.firmwareVersion = appFirmwareVersion(app);
    if (operation == VisitOperation::Diagnostics || operation == VisitOperation::Report)
        entry.diagnostics = appDiagnostics(app);
    entry.meter = app.main.StaticTextMeter.caption;

    std::optional<archive::SettingsSnapshot> snapshot;
    const auto known = lastState_.find(entry.serial);
    if (before && known != lastState_.end())
        snapshot = known->second;
    else if (app.settingsRead && (before || knowsSettingsAfter(operation)))
        snapshot = appSnapshot(app);
    if (snapshot)
        entry.settings = archive::encodeSnapshot(*snapshot);
    if (!before && snapshot)
        lastState_[entry.serial] = *snapshot;
    else if (!before)
        lastState_.erase(entry.serial);
    store(entry, snapshot);
}

void VisitRecorder::store(const archive::VisitEntry& entry,
                          const std::optional<archive::SettingsSnapshot>& snapshot) {
    archive::ArchiveStore* archive = store();
    if (archive == nullptr)
        return;
    try {
        if (entry.operation == VisitOperation::Read && !entry.before && snapshot) {
            readSummary_ = archive::readSummary(*archive, entry.serial, *snapshot);
            firmwareCheck_ = archive::firmwareCheck(*archive, entry.serial, *snapshot);
        }
        archive->addVisit(entry);
    } catch (const archive::ArchiveError& error) {
        fail(error.what());
    }
}

void VisitRecorder::fail(const std::string& reason) {
    if (failed_)
        return;
    failed_ = true;
    if (onFailure)
        onFailure(std::string(kTextArchiveNotWritten) + reason);
}

}  // namespace zelar
