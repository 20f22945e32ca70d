#include "app/archive_view/archive_window.h"

#include <functional>

#include "app/archive/visit_recorder.h"
#include "app/archive_view/archive_keeping.h"
#include "app/archive_view/difference_table.h"
#include "app/file_session/file_menu.h"
#include "archive/archive_queries.h"

namespace zelar {

namespace {

constexpr const char* kCaption = "Архив модемов";

void message(App& app, const std::string& text, MessageIcon icon) {
    app.services.dialogs.messageBox(text, kCaption, icon, MessageButtons::Ok);
}

archive::ArchiveStore* storeOf(App& app) {
    VisitRecorder* archive = keptArchive(app);
    return archive == nullptr ? nullptr : archive->store();
}

// Runs `step` on the archive; a store that fails says why in the window's status line.
bool onArchive(App& app, const std::function<bool(archive::ArchiveStore&)>& step) {
    archive::ArchiveStore* store = storeOf(app);
    if (store == nullptr)
        return false;
    try {
        return step(*store);
    } catch (const archive::ArchiveError& e) {
        app.archiveForm.LabelArchiveStatus.caption = std::string("Архив не прочитан: ") + e.what();
        return false;
    }
}

std::string visitText(const archive::VisitEntry& entry) {
    std::string text(archive::operationLabel(entry.operation));
    if (entry.before)
        text += " (до)";
    // The tree's node names carry blanks at their end; the list shows none.
    const std::string detail = entry.detail.substr(0, entry.detail.find_last_not_of(' ') + 1);
    if (!detail.empty())
        text += ": " + detail;
    return text;
}

void clearModem(TformArchive& f) {
    f.serial.clear();
    for (Edit* edit : {&f.EditSiteName, &f.EditSiteAddress, &f.EditSiteNote})
        edit->text.clear();
    f.LabelSiteInstaller.caption.clear();
    f.GroupSite.enabled = f.BtnSaveSite.enabled = false;
    f.GridVisits.rows.clear();
    f.GridVisits.selected.clear();
    f.entries.clear();
    f.BtnCompareVisits.enabled = f.BtnOpenVisit.enabled = false;
}

void showVisits(TformArchive& f, const std::vector<archive::VisitEntry>& history) {
    f.GridVisits.rows.clear();
    f.entries.clear();
    for (int n = static_cast<int>(history.size()); n >= 1; --n) {
        const archive::VisitEntry& e = history[static_cast<std::size_t>(n - 1)];
        f.GridVisits.rows.push_back(
            {std::to_string(n), archive::localDateTime(e.time), visitText(e), e.port,
             e.user > 0 ? std::to_string(e.user) : std::string(), e.installer, e.firmwareVersion});
        f.entries.push_back(n);
    }
}

bool showModem(App& app, archive::ArchiveStore& store, const std::string& serial) {
    TformArchive& f = app.archiveForm;
    clearModem(f);
    const auto modem = store.modem(serial);
    if (!modem)
        return false;
    f.serial = serial;
    f.EditSiteName.text = modem->site.name;
    f.EditSiteAddress.text = modem->site.address;
    f.EditSiteNote.text = modem->site.note;
    if (!modem->lastInstaller.empty())
        f.LabelSiteInstaller.caption = "Монтажник: " + modem->lastInstaller;
    f.GroupSite.enabled = f.BtnSaveSite.enabled = true;
    showVisits(f, store.history(serial));
    return true;
}

// The modems the filter lets through; the chosen one stays chosen while it is listed.
bool listModems(App& app, archive::ArchiveStore& store) {
    TformArchive& f = app.archiveForm;
    const std::string chosen = f.serial;
    f.GridModems.rows.clear();
    f.GridModems.selected.clear();
    f.serials.clear();
    for (const archive::ArchivedModem& m : store.modems(f.EditArchiveFilter.text)) {
        if (m.serial == chosen)
            f.GridModems.selected = {static_cast<int>(f.serials.size())};
        f.GridModems.rows.push_back(
            {m.serial, m.site.name, archive::localDate(m.lastVisit), std::to_string(m.visits)});
        f.serials.push_back(m.serial);
    }
    if (f.GridModems.selected.empty()) {
        clearModem(f);
        return true;
    }
    return showModem(app, store, chosen);
}

}  // namespace

bool MenuArchiveClick(App& app) {
    if (app.link.busy())
        return false;
    if (keptArchive(app) == nullptr) {
        message(app, kTextArchiveOff, MessageIcon::Information);
        return false;
    }
    if (storeOf(app) == nullptr) {
        message(app, app.archiveKeeping.failure, MessageIcon::Error);
        return false;
    }
    // Shown again, the window starts afresh: the visits made meanwhile are listed.
    app.archiveForm = TformArchive{};
    if (!onArchive(app, [&](archive::ArchiveStore& s) { return listModems(app, s); })) {
        message(app, app.archiveForm.LabelArchiveStatus.caption, MessageIcon::Error);
        return false;
    }
    app.services.dialogs.showModal(WindowId::Archive);
    return true;
}

bool EditArchiveFilterChange(App& app) {
    app.archiveForm.LabelArchiveStatus.caption.clear();
    return onArchive(app, [&](archive::ArchiveStore& s) { return listModems(app, s); });
}

bool GridModemsChange(App& app) {
    TformArchive& f = app.archiveForm;
    f.LabelArchiveStatus.caption.clear();
    if (f.GridModems.selected.empty()) {
        clearModem(f);
        return true;
    }
    const auto row = static_cast<std::size_t>(f.GridModems.selected.front());
    if (row >= f.serials.size())
        return false;
    const std::string serial = f.serials[row];
    return onArchive(app, [&](archive::ArchiveStore& s) { return showModem(app, s, serial); });
}

bool GridVisitsChange(App& app) {
    TformArchive& f = app.archiveForm;
    f.LabelArchiveStatus.caption.clear();
    const std::size_t chosen = f.GridVisits.selected.size();
    f.BtnCompareVisits.enabled = chosen == 2;
    f.BtnOpenVisit.enabled = chosen == 1;
    return true;
}

bool BtnSaveSiteClick(App& app) {
    TformArchive& f = app.archiveForm;
    if (f.serial.empty())
        return false;
    const archive::ModemSite site{f.EditSiteName.text, f.EditSiteAddress.text, f.EditSiteNote.text};
    const bool saved = onArchive(app, [&](archive::ArchiveStore& s) {
        s.setSite(f.serial, site);
        return listModems(app, s);
    });
    if (saved)
        f.LabelArchiveStatus.caption = kTextSiteSaved;
    return saved;
}

namespace {

// The entry numbers of the chosen visits, the oldest first.
std::vector<int> chosenEntries(const TformArchive& f) {
    std::vector<int> entries;
    for (int row : f.GridVisits.selected) {
        if (row >= 0 && static_cast<std::size_t>(row) < f.entries.size())
            entries.insert(entries.begin(), f.entries[static_cast<std::size_t>(row)]);
    }
    return entries;
}

}  // namespace

bool BtnCompareVisitsClick(App& app) {
    TformArchive& f = app.archiveForm;
    const std::vector<int> pair = chosenEntries(f);
    if (pair.size() != 2)
        return false;
    archive::EntryDiff diff;
    if (!onArchive(app, [&](archive::ArchiveStore& s) {
            diff = archive::diffEntries(s, f.serial, pair[0], pair[1]);
            return true;
        }))
        return false;
    if (!diff.error.empty()) {
        message(app, "Нельзя сравнить: " + diff.error, MessageIcon::Warning);
        return false;
    }
    const std::string first = "Визит " + std::to_string(pair[0]);
    const std::string second = "Визит " + std::to_string(pair[1]);
    showDifferenceTable(app, "№ " + f.serial + ": " + first + " и " + second, first, second,
                        diff.differences);
    return true;
}

bool BtnOpenVisitClick(App& app) {
    TformArchive& f = app.archiveForm;
    const std::vector<int> one = chosenEntries(f);
    if (one.size() != 1)
        return false;
    std::optional<SettingsFileContent> content;
    std::string when;
    if (!onArchive(app, [&](archive::ArchiveStore& s) {
            if (const auto entry = archive::entryAt(s, f.serial, one.front()))
                when = archive::localDate(entry->time);
            content = archive::settingsFileAt(s, f.serial, one.front());
            return true;
        }))
        return false;
    if (!content) {
        message(app, kTextNoVisitSettings, MessageIcon::Warning);
        return false;
    }
    const std::string name =
        "№ " + f.serial + ", визит " + std::to_string(one.front()) + " от " + when;
    app.services.dialogs.closeModal(WindowId::Archive);
    openSettingsContent(app, *content, name);
    return true;
}

bool BtnCloseArchiveClick(App& app) {
    app.services.dialogs.closeModal(WindowId::Archive);
    return true;
}

}  // namespace zelar
