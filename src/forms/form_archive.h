#pragma once

#include <string>
#include <vector>

#include "forms/controls.h"

namespace zelar {

// The archive window `TformArchive`: the modems the archive knows, filtered as the user types,
// the chosen modem's site and visits; two visits compared, one opened as a settings file.
struct TformArchive {
    std::string caption = "Архив модемов";

    Edit EditArchiveFilter;
    Table GridModems{{}, {"Серийный номер", "Объект", "Последний визит", "Визитов"}, {}, {}, false};
    Panel GroupSite{{false, true}, " Объект "};
    Edit EditSiteName;
    Edit EditSiteAddress;
    Edit EditSiteNote;
    Label LabelSiteInstaller;
    Button BtnSaveSite{{false, true}, "Сохранить объект"};
    Table GridVisits{
        {}, {"№", "Время", "Операция", "Порт", "Пользователь", "Монтажник", "ПО"}, {}, {}, true};
    Button BtnCompareVisits{{false, true}, "Сравнить"};
    Button BtnOpenVisit{{false, true}, "Открыть как файл настроек"};
    Button BtnCloseArchive{{}, "Закрыть"};
    Label LabelArchiveStatus;

    // The serial number of each row of GridModems, and the entry number (from 1) of each row of
    // GridVisits, the newest first.
    std::vector<std::string> serials;
    std::vector<int> entries;
    // The modem whose site and visits are shown; empty for none.
    std::string serial;
};

}  // namespace zelar
