#pragma once

#include <array>

#include "forms/controls.h"
#include "forms/gprs_page.h"
#include "forms/object_page.h"
#include "forms/sim_page.h"
#include "forms/user_page.h"

namespace zelar {

// The pages of `PageControl1`, in their order.
enum class Page {
    TabSheet1,
    TabSheet2,
    TabSheet3,
    TabSheet4,
    TabSheet5,
    TabSheetTests,
    TabSheetECall
};
constexpr int kPageCount = 7;

// Nodes of the navigation tree by absolute index.
constexpr int kNodeUsers = 0;
constexpr int kNodeModem = 7;
constexpr int kNodeVoiceCall = 8;
constexpr int kNodeDiagnostics = 9;

// The main window `TformMain`.
struct TformMain : UserPageControls,
                   SimPageControls,
                   GprsPageControls,
                   ObjectPageControls,
                   VoiceCallPageControls,
                   DiagnosticsPageControls {
    TformMain();

    static constexpr const char* kCaption = "Zelar 2 — настройка модема";
    std::string caption = kCaption;

    // Port list and display mode.
    ComboBox ComboBox1;
    Button btnFindModem;  // asks every port of the list which modem answers on it
    ComboBox cbExpert;
    Panel PanelExpert1;  // user page: status, type, format, priority, offset
    Panel PanelExpert2;  // user page: message classes
    Panel PanelExpert3;  // main window: the fast exchange and write verification boxes
    CheckBox cbFastExchange;
    CheckBox cbVerifyWrites;
    Panel PanelExpert4;  // SIM 1 group: PIN
    Panel PanelExpert5;  // SIM 2 group: PIN
    Panel PanelExpert6;  // diagnostics page: empty holder

    // Pages.
    TabSheet TabSheet1;
    TabSheet TabSheet2;
    TabSheet TabSheet3;
    TabSheet TabSheet4;
    TabSheet TabSheet5;
    TabSheet TabSheetTests;
    TabSheet TabSheetECall;
    Page activePage = Page::TabSheet3;
    Label StaticTextInformation;

    TreeView TreeView1;
    StatusBar StatusBar1;

    // Identification of the modem read last.
    Label StaticTextSN;
    Label StaticTextBootVer;
    Label StaticTextVer;
    Edit EditIMEI;
    // What the archive knows of the modem read last: its line, the differences from the last
    // visit, and after firmware programming the way back to the settings before it.
    Label StaticTextArchive{{true, false}, {}};
    Button BtnArchiveChanges{{true, false}, "Сравнить с прошлым…"};
    Button BtnArchiveRevert{{true, false}, "Вернуть как было"};

    // Reading, writing, test message and login.
    Button btnReadNastUser;
    Button ButtonWriteNastr;
    Button BitBtnTest;
    ProgressBar BSprogressBarLine1;
    ComboBox cbUser;
    Edit EditPassword;
    Button ButtonApplyPassword;

    // The "Файл" menu.
    Button MenuOpenFile{{}, "Открыть файл настроек…"};
    Button MenuNewFile{{}, "Новый файл из заводских настроек"};
    Button MenuSaveAs{{}, "Сохранить как…"};
    Button MenuWriteFile{{}, "Записать файл в модем…"};
    Button MenuCompare{{}, "Сравнить с модемом…"};
    Button MenuReport{{}, "Отчёт о настройке…"};
    CheckBox MenuKeepArchive{{}, "Вести архив модемов"};
    Button MenuArchive{{}, "Архив…"};
    Button MenuExit{{}, "Выход"};

    // The control that should take the input focus next, by name; the window moves it.
    std::string focusRequest;

    TabSheet& page(Page p);
    const TabSheet& page(Page p) const;
    std::array<Panel*, 6> expertPanels();
};

// The service window `TformSetup`.
struct TformSetup {
    std::string caption = "Настройки";

    Panel GroupFirmware{{}, " Обновление программного обеспечения модема "};
    Button BtnOpen{{}, "Открыть файл"};
    Button SpBtnFlashMCU{{}, "Программировать"};
    Label LabelFile{{}, "Файл:"};
    Label labelNameFile;
    Label LabelVer{{}, "Версия:"};
    Label labVer;
    Label Label4{{}, "Дата выпуска:"};
    Label LabDate;
    Label LabelStatus{{}, "Статус:"};
    Label labInfo;
    ProgressBar ProgressBar1;
    Button BtnCancel{{}, "Отмена"};

    Panel GroupDict{{}, "Операции со словарем"};
    Button btnWriteDict{{}, "Записать словарь"};
    Label LabelCountMess{{}, "Записано:"};
    Button BtnReadDict{{}, "Считать словарь"};
    Label LabCountMessRead;

    Panel GroupSettings{{}, "Работа с настройками"};
    Button BtnSavePar{{false, true}, "Сохранить настройки в файл"};
    Button BtnLoadPar{{false, true}, "Считать настройки из файла"};
    Label LabWNastr;
    Button ButtonSetDefault{{}, "Восстановить заводские настройки"};
    Label LabelCountUser{{}, "1"};

    Label LabWorkAs{{true, false}, "Режим работы модема"};
    ComboBox ComBoxWorkAs{
        {true, false}, {"Оконечное устройство", "Терминал"}, 0, "Оконечное устройство"};
};

// The operator preset dialog `TFormUSSD`.
struct TFormUSSD {
    std::string caption = "Выберите USSD запрос оператора";

    Panel GroupOperators{{}, " Выберите оператора и его настройки "};
    RadioButton RadioMts;
    RadioButton RadioMegafon;
    RadioButton RadioUtel;
    RadioButton RadioBeeLine;
    RadioButton RadioTele2;
    Button ButtonUSSDOperator{{}, "OK"};
    Button BitBtnUSSDClose{{}, "Отмена"};
    int sim = 1;  // the SIM whose fields "OK" fills

    TFormUSSD();
};

// The log window `TFormInit`: one read-only text that nothing else writes to.
struct TFormInit {
    std::string caption = "первичная инициализация модема";
    Memo Memo1{{}, "Log", true};
};

}  // namespace zelar
