#include "app/archive_view/archive_keeping.h"

#include <memory>

#include "app/archive/archive_setting.h"
#include "app/archive/visit_recorder.h"

namespace zelar {

namespace {

void keep(App& app, bool on) {
    ArchiveKeeping& keeping = app.archiveKeeping;
    app.archive = nullptr;
    keeping.recorder.reset();
    keeping.failure.clear();
    if (!on)
        return;
    ArchiveSetting setting{true, {}};
    if (keeping.profile != nullptr)
        setting.file = readArchiveSetting(*keeping.profile).file;
    auto recorder = std::make_shared<VisitRecorder>(archivePath(setting, keeping.configFolder));
    recorder->onFailure = [&app](const std::string& reason) { showArchiveFailure(app, reason); };
    app.archive = recorder.get();
    keeping.recorder = std::move(recorder);
}

}  // namespace

void startArchiveKeeping(App& app, Profile* profile, const std::string& configFolder) {
    app.archiveKeeping.profile = profile;
    app.archiveKeeping.configFolder = configFolder;
    const bool on = profile != nullptr && readArchiveSetting(*profile).enabled;
    app.main.MenuKeepArchive.checked = on;
    keep(app, on);
}

bool MenuKeepArchiveClick(App& app) {
    const bool on = app.main.MenuKeepArchive.checked;
    Profile* profile = app.archiveKeeping.profile;
    if (profile != nullptr && profile->createFolder())
        writeArchiveEnabled(*profile, on);
    keep(app, on);
    if (!on) {
        app.main.StaticTextArchive.visible = false;
        app.main.BtnArchiveChanges.visible = false;
        app.main.BtnArchiveRevert.visible = false;
    }
    return true;
}

VisitRecorder* keptArchive(App& app) {
    // Only startArchiveKeeping and MenuKeepArchiveClick put a recorder here.
    return static_cast<VisitRecorder*>(app.archiveKeeping.recorder.get());
}

void showArchiveFailure(App& app, const std::string& reason) {
    const std::string prefix = kTextArchiveNotWritten;
    app.archiveKeeping.failure = reason.rfind(prefix, 0) == 0 ? reason : prefix + reason;
    Label& line = app.main.StaticTextArchive;
    line.caption = app.archiveKeeping.failure;
    line.visible = true;
}

}  // namespace zelar
