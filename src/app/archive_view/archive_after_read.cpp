#include "app/archive_view/archive_after_read.h"

#include "app/archive/visit_recorder.h"
#include "app/archive_view/archive_keeping.h"
#include "app/archive_view/difference_table.h"
#include "app/file_session/file_menu.h"

namespace zelar {

namespace {

void hideLine(TformMain& m) {
    m.StaticTextArchive.visible = false;
    m.BtnArchiveChanges.visible = false;
    m.BtnArchiveRevert.visible = false;
}

}  // namespace

void showArchiveAfterRead(App& app) {
    TformMain& m = app.main;
    hideLine(m);
    VisitRecorder* archive = keptArchive(app);
    if (archive == nullptr || !app.settingsRead || app.source.file)
        return;
    if (!app.archiveKeeping.failure.empty()) {
        showArchiveFailure(app, app.archiveKeeping.failure);
        return;
    }
    if (const auto& check = archive->lastFirmwareCheck()) {
        m.StaticTextArchive.caption = check->text;
        m.StaticTextArchive.visible = true;
        m.BtnArchiveChanges.visible = !check->changes.empty();
        m.BtnArchiveRevert.visible = !check->changes.empty();
        return;
    }
    if (const auto& summary = archive->lastReadSummary()) {
        m.StaticTextArchive.caption = summary->line;
        m.StaticTextArchive.visible = true;
        m.BtnArchiveChanges.visible = !summary->differences.empty();
    }
}

bool BtnArchiveChangesClick(App& app) {
    VisitRecorder* archive = keptArchive(app);
    if (archive == nullptr)
        return false;
    if (const auto& check = archive->lastFirmwareCheck()) {
        showDifferenceTable(app, kTextFirmwareChangesCaption, "До прошивки", "После прошивки",
                            check->changes);
        return true;
    }
    if (const auto& summary = archive->lastReadSummary()) {
        showDifferenceTable(app, kTextChangesCaption, "Прошлый визит", "Сейчас",
                            summary->differences);
        return true;
    }
    return false;
}

bool BtnArchiveRevertClick(App& app) {
    VisitRecorder* archive = keptArchive(app);
    if (archive == nullptr || !archive->lastFirmwareCheck())
        return false;
    // A copy: opening the file ends what the read left, the check among it.
    const SettingsFileContent before = archive->lastFirmwareCheck()->before.file;
    openSettingsContent(app, before, "Настройки до прошивки");
    return MenuWriteFileClick(app);
}

}  // namespace zelar
