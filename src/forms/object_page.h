#pragma once

#include "forms/controls.h"

namespace zelar {

// The object parameters page `TabSheetTests`.
struct ObjectPageControls {
    Label LabelMainSys{{}, "Основной номер системы:"};
    Edit EditMainSys{{}, "", 3, false, kDigits};
    Label LabelMainObj{{}, "Основной номер объекта:"};
    Edit EditMainObj{{}, "", 4, false, kDigits};
    Label LabelProt{{}, "Протокол:"};
    ComboBox ComBoxProt{{}, {"RRD", "RPI", "RPI+", "-?-"}, 3, "-?-"};
    Label LabelSerialN{{}, "Серийный номер:"};
    Edit EditSerialN{{}, "", 8, false, kDigits};
    Button BtnResetSysObj{{}, "Сброс"};
};

// The voice call page `TabSheetECall`.
struct VoiceCallPageControls {
    CheckBox CheckBoxECallEn{{}, "Разрешить исходящий вызов"};
    Label LabelECallNumbers{{}, "Номера телефонов:"};
    Label LabelECallN1{{}, "1:"};
    Label LabelECallN2{{}, "2:"};
    Label LabelECallN3{{}, "3:"};
    Label LabelECallN4{{}, "4:"};
    Label LabelECallN5{{}, "5:"};
    Edit EditECallN1{{}, "", 12, false, kDigitsPlus};
    Edit EditECallN2{{}, "", 12, false, kDigitsPlus};
    Edit EditECallN3{{}, "", 12};
    Edit EditECallN4{{}, "", 12, false, kDigitsPlus};
    Edit EditECallN5{{}, "", 12, false, kDigitsPlus};

    CheckBox CheckBoxInCall{{}, "Разрешить входящий вызов"};
    Label LabelInCall{{}, "Разрешенные номера:"};
    Label LabelInCallN1{{}, "1:"};
    Label LabelInCallN2{{}, "2:"};
    Label LabelInCallN3{{}, "3:"};
    Edit EditInCallN1{{}, "", 12, false, kDigitsPlus};
    Edit EditInCallN2{{}, "", 12, false, kDigitsPlus};
    Edit EditInCallN3{{}, "", 12, false, kDigitsPlus};

    Panel GroupECallSettings{{}, "Настройки вызова"};
    Label LabelECallSpk{{}, "Громкость динамика:"};
    Edit EditECallSpk{{}, "", 3, false, kDigits};
    Label LabelECallMic{{}, "Чувствительность микрофона:"};
    Edit EditECallMic{{}, "", 2, false, kDigits};
};

// The diagnostics page `TabSheet4`.
struct DiagnosticsPageControls {
    Panel GroupBalance{{}, " Баланс "};
    Button BitBtnReadBalance{{}, "Считать"};
    Label StaticTextNumSimCard{{}, "Текущая Sim:"};
    Label StaticTextBalanceStatus{{}, "Статус Sim:"};
    Label StaticTextBalanceSim{{}, "Баланс:"};

    Panel GroupErrors{{}, " Неисправности "};
    Button BitBtnReadError{{}, "Считать"};
    CheckBox CheckBoxErr5V{{}, "Ошибка 5В"};
    CheckBox CheckBoxErr12V{{}, "Ошибка 12В"};
    CheckBox CheckBoxErrVddExt{{}, "Ошибка VDDExt"};
    CheckBox CheckBoxErrVddSim{{}, "Ошибка SimPower"};
    CheckBox CheckBoxErrInEEPROM{{}, "Ошибка EEPROM"};
    CheckBox CheckBoxErrFlash{{}, "Ошибка FLASH"};
    CheckBox CheckBoxErrSim{{}, "Ошибка SIM300"};
    CheckBox CheckBoxErrSimCard{{}, "Ошибка SIM CARD"};
    CheckBox CheckBoxErrCheckEEPROM{{}, "Ошибка КС EEPROM"};
    CheckBox CheckBoxErrCheckFlash{{}, "Ошибка КС PROC"};
    CheckBox CheckBoxErrPin{{}, "Ошибка ввода PIN"};
    // Signal bars, lit in green when the level passes their mark.
    Panel PanelQ1;
    Panel PanelQ2;
    Panel PanelQ3;
    Panel PanelQ4;
    Panel PanelQ5;
    Label StaticTextQuality;
    // The signal meter: the fault command once a second while checked, the level's chart and
    // its current, lowest, highest and mean values.
    CheckBox CheckBoxMeter{{}, "Непрерывно"};
    LevelChart ChartSignal;
    Label StaticTextMeter;
};

}  // namespace zelar
