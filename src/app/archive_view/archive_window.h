#pragma once

#include "app/core/app.h"

namespace zelar {

inline constexpr const char* kTextSiteSaved = "Данные объекта сохранены";
inline constexpr const char* kTextNoVisitSettings = "В этом визите нет настроек модема";

// "Архив…": the archive window over the main window, listing every modem, none chosen. Refused
// while another operation holds the link; with the archive off or unreadable a box says so.
bool MenuArchiveClick(App& app);

// The archive window's controls.
// The list follows the text typed: modems whose serial, site or address holds it.
bool EditArchiveFilterChange(App& app);
// A modem chosen: its site's details and its visits, the newest first.
bool GridModemsChange(App& app);
// One visit chosen may be opened, two compared.
bool GridVisitsChange(App& app);
bool BtnSaveSiteClick(App& app);
// The differences from the older of the two chosen visits to the newer.
bool BtnCompareVisitsClick(App& app);
// The chosen visit's settings on the pages as a settings file: the archive window closes, and
// "Записать файл в модем…" writes that earlier state back.
bool BtnOpenVisitClick(App& app);
bool BtnCloseArchiveClick(App& app);

}  // namespace zelar
