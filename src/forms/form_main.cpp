#include "forms/form_main.h"

namespace zelar {

TformMain::TformMain() {
    cbExpert.items = {"Пользователь", "Эксперт"};
    cbFastExchange.caption = "Быстрый обмен";
    cbVerifyWrites.caption = "Проверять запись";
    TabSheet1.caption = "Настройки пользователя";
    TabSheet2.caption = "Настройка SIM-карт";
    TabSheet3.caption = " ";
    TabSheet4.caption = "Диагностика";
    TabSheet5.caption = "Настройка GPRS";
    TabSheetTests.caption = "Параметры объекта";
    TabSheetECall.caption = "Голосовой вызов";

    const std::string pad(18 - 2, ' ');
    TreeView1.nodes = {{"Пользователи", -1}};
    for (int n = 1; n <= 6; ++n)
        TreeView1.nodes.push_back({"#" + std::to_string(n) + pad, 0});
    TreeView1.nodes.push_back({"Настройка модема", -1});
    TreeView1.nodes.push_back({"Голосовой вызов", -1});
    TreeView1.nodes.push_back({"Диагностика", -1});

    btnFindModem.caption = "Найти модем";
    btnReadNastUser.caption = " Считать";
    ButtonWriteNastr.caption = "Записать";
    BitBtnTest.caption = "Тест";
    EditIMEI.readOnly = true;
    BSprogressBarLine1.max = 26;
    cbUser.items = {"1", "2", "3", "4", "5", "6"};
    EditPassword.maxLength = 4;
    ButtonApplyPassword.caption = "Применить пароль";
}

TabSheet& TformMain::page(Page p) {
    return const_cast<TabSheet&>(static_cast<const TformMain*>(this)->page(p));
}

const TabSheet& TformMain::page(Page p) const {
    switch (p) {
        case Page::TabSheet1:
            return TabSheet1;
        case Page::TabSheet2:
            return TabSheet2;
        case Page::TabSheet3:
            return TabSheet3;
        case Page::TabSheet4:
            return TabSheet4;
        case Page::TabSheet5:
            return TabSheet5;
        case Page::TabSheetTests:
            return TabSheetTests;
        case Page::TabSheetECall:
            break;
    }
    return TabSheetECall;
}

std::array<Panel*, 6> TformMain::expertPanels() {
    return {&PanelExpert1, &PanelExpert2, &PanelExpert3,
            &PanelExpert4, &PanelExpert5, &PanelExpert6};
}

}  // namespace zelar
