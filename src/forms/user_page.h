#pragma once

#include "forms/controls.h"

namespace zelar {

// The user settings page `TabSheet1`: one user's record at a time.
struct UserPageControls {
    CheckBox cbUserON{{}, "Включить пользователя"};
    RadioButton RBtnSMSalways{{}, "Передавать всегда"};
    RadioButton RBtnSMSifNoGPRS{{}, "При неисправном GPRS"};

    Panel PanelUserTel = captionPanel("Телефон:");
    Edit EditUserTel{{}, "", 12, false, kDigitsPlus};
    Panel PanelUserPassword = captionPanel("Пароль:");
    Edit EditUserPassword{{}, "", 4};

    Panel PanelUserStatus = captionPanel("Статус пользователя:");
    ComboBox cbUserStatus{{}, {"Мастер", "Хозяин", "Охранник"}, 2, "Охранник"};
    Panel PanelUserTypeMess = captionPanel("Тип сообщения:");
    ComboBox cbUserTypeMess{
        {}, {"SMS сообщение", "SMS для АРМ", "Дозвон до пользователя"}, 0, "SMS сообщение"};
    Panel PanelUserFormat = captionPanel("Формат текстового сообщения:");
    ComboBox cbUserObjectON{
        {}, {"Без номера объекта", "С номером объекта"}, 0, "Без номера объекта"};
    ComboBox cbUserSystemON{
        {}, {"Без номера системы", "С номером системы"}, 0, "Без номера системы"};
    Panel PanelUserPriority = captionPanel("Разрешить приоритет:");
    CheckBox cbUserPriority{{}, ""};
    CheckBox cbUserDialON{{true, false}, ""};  // never visible
    Panel PanelSeekObject = captionPanel("Сместить номер объекта:");
    Edit EditSeekObject{{}, "", 4};

    Panel PanelUserTestMess = captionPanel("Период тестового сообщения, ч:м:");
    CheckBox cbUserTestMessON{{}, ""};
    Edit EditUserTtestmessH{{}, "4", 2, false, kDigits};
    Edit EditUserTtestmessM{{}, "00", 0, false, kDigits};

    Panel PanelMessCodes = captionPanel("Коды сообщений доступные пользователю");
    CheckBox CheckBoxMessAlarmON{{}, "Разрешить тревожные сообщения"};
    CheckBox CheckBoxMessFireON{{}, "Разрешить сообщения о пожаре"};
    CheckBox CheckBoxMessErrON{{}, "Разрешить сообщения о неисправности"};
    CheckBox CheckBoxMessPowerON{{}, "Разрешить сообщения о состоянии питания"};
    CheckBox CheckBoxMessGuardON{{}, "Разрешить сообщения о взятии/снятии с охраны"};
    CheckBox CheckBoxMessInfOn{{}, "Разрешить информационные сообщения"};
};

}  // namespace zelar
