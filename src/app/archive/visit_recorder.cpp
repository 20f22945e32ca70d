#include "app/archive/visit_recorder.h"

#include "app/archive/app_snapshot.h"
#include "app/archive/archive_setting.h"
#include "app/pages/settings_file_store.h"

namespace zelar {

namespace {

using archive::VisitOperation;

// The operations after which the App's pages hold what the modem holds. After programming,
// the modem's settings are known only at the next read.
bool knowsSettingsAfter(VisitOperation operation) {
    return operation != VisitOperation::FirmwareProgrammed;
}

// The modem after a settings file was written into it: the file's values over what the modem
// held before (the object parameters and the voice call, which a file does not carry).
archive::SettingsSnapshot writtenFile(const App& app, const archive::SettingsSnapshot* before) {
    archive::SettingsSnapshot snapshot = before ? *before : appSnapshot(app);
    SettingsFileContent file = settingsFileContent(app);
    parseSettingsFile(composeSettingsFile(file), snapshot.file);
    snapshot.file.created.clear();
    return snapshot;
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
    archive::VisitEntry entry;
    entry.port = app.main.ComboBox1.text;
    entry.serial = appSerialNumber(app);
    if (app.source.file) {
        // A settings file on the pages is no visit, unless it is written into the modem last
        // read on this port.
        if (operation != VisitOperation::FileWritten)
            return;
        const auto read = serialOnPort_.find(entry.port);
        entry.serial = read == serialOnPort_.end() ? std::string() : read->second;
    }
    if (entry.serial.empty())
        return;
    serialOnPort_[entry.port] = entry.serial;
    entry.time = clock_();
    entry.operation = operation;
    entry.before = before;
    entry.detail = detail;
    entry.user = app.login.loggedIn ? app.login.user : 0;
    entry.installer = installer;
    entry.firmwareVersion = appFirmwareVersion(app);
    if (operation == VisitOperation::Diagnostics || operation == VisitOperation::Report)
        entry.diagnostics = appDiagnostics(app);
    entry.meter = app.main.StaticTextMeter.caption;

    std::optional<archive::SettingsSnapshot> snapshot;
    const auto known = lastState_.find(entry.serial);
    if (before) {
        if (known != lastState_.end())
            snapshot = known->second;
    } else if (app.source.file) {
        snapshot = writtenFile(app, known == lastState_.end() ? nullptr : &known->second);
    } else if (app.settingsRead && knowsSettingsAfter(operation)) {
        snapshot = appSnapshot(app);
    }
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
