#pragma once

#include <array>

#include "forms/controls.h"
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
struct TformMain : UserPageControls {
    TformMain();

    // Port list and display mode.
    ComboBox ComboBox1;
    ComboBox cbExpert;
    Panel PanelExpert1;  // user page: status, type, format, priority, offset
    Panel PanelExpert2;  // user page: message classes
    Panel PanelExpert3;  // main window: empty holder
    Panel PanelExpert4;  // SIM 1 group: PIN
    Panel PanelExpert5;  // SIM 2 group: PIN and PUK2
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

    // Reading and login.
    Button btnReadNastUser;
    ProgressBar BSprogressBarLine1;
    ComboBox cbUser;
    Edit EditPassword;
    Button ButtonApplyPassword;

    TabSheet& page(Page p);
    const TabSheet& page(Page p) const;
    std::array<Panel*, 6> expertPanels();
};

// The service window `TformSetup`; its controls come with the functions that use them.
struct TformSetup {
    std::string caption = "Настройки";
};

// The operator preset dialog `TFormUSSD`.
struct TFormUSSD {
    std::string caption = "Выберите USSD запрос оператора";
};

// The log window `TFormInit`: one read-only text that nothing else writes to.
struct TFormInit {
    std::string caption = "первичная инициализация модема";
    Memo Memo1{{}, "Log", true};
};

}  // namespace zelar
