#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "app/core/visit_sink.h"
#include "archive/archive_queries.h"
#include "archive/archive_store.h"

namespace zelar {

// The archive of modems as the handlers see it: each visit the App tells of becomes one entry
// of the modem the last read identified. The store opens at the first visit, so nothing is
// created until there is something to keep. A store that cannot be opened or written never
// stops the operation: `onFailure` is told once, "Архив не записан: …".
class VisitRecorder : public VisitSink {
  public:
    using StoreOpener = std::function<std::unique_ptr<archive::ArchiveStore>()>;

    VisitRecorder(StoreOpener open, std::function<archive::UtcMillis()> clock = archive::utcNow);
    // The SQLite archive at `path`.
    explicit VisitRecorder(const std::string& path);

    void before(App& app, archive::VisitOperation operation) override;
    void after(App& app, archive::VisitOperation operation, const std::string& detail) override;

    // The installer's name each entry carries.
    std::string installer;
    // Told "Архив не записан: " and the reason.
    std::function<void(const std::string&)> onFailure;

    // What the last read found in the archive (the window's line and its differences), and
    // after firmware programming, whether the settings stayed. Nothing when the archive did
    // not know the modem or could not be read.
    const std::optional<archive::ReadSummary>& lastReadSummary() const { return readSummary_; }
    const std::optional<archive::FirmwareCheck>& lastFirmwareCheck() const {
        return firmwareCheck_;
    }

    // The store for the window's "Архив…" dialog, opened when needed; null (after onFailure)
    // when it cannot be opened.
    archive::ArchiveStore* store();
    // Whether a failure has been told.
    bool failed() const { return failed_; }

  private:
    void record(App& app, archive::VisitOperation operation, bool before,
                const std::string& detail);
    void store(const archive::VisitEntry& entry,
               const std::optional<archive::SettingsSnapshot>& snapshot);
    void fail(const std::string& reason);

    StoreOpener open_;
    std::function<archive::UtcMillis()> clock_;
    std::unique_ptr<archive::ArchiveStore> store_;
    std::optional<archive::ReadSummary> readSummary_;
    std::optional<archive::FirmwareCheck> firmwareCheck_;
    // What each modem held after the last visit recorded here: the state an operation that
    // replaces many settings starts from, whatever the pages show by then.
    std::map<std::string, archive::SettingsSnapshot> lastState_;
    // The serial number last seen on each port, for a settings file written into that modem.
    std::map<std::string, std::string> serialOnPort_;
    bool failed_ = false;
};

}  // namespace zelar
