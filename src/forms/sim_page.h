#pragma once

#include "forms/controls.h"

namespace zelar {

// The SIM page `TabSheet2`: SIM 1 and SIM 2 groups.
struct SimPageControls {
    Panel GroupSim1{{}, " Настройка SIM 1 "};
    CheckBox CheckBoxSim1Vkl{{true, false}, "SIM1 установлен", true};  // hidden, always checked
    CheckBox CheckBoxSim1Pass{{}, "PIN"};
    Edit EditSim1Pin1{{}, "", 4, false, kDigits};
    Edit EditSim1Puk1{{true, false}, "62840517", 8};  // never visible
    CheckBox CheckBoxSim1Ballance{{}, "Контролировать баланс"};
    Edit EditSim1Ballance{{}, "", 3, false, kDigits};
    Label LabelSim1BallanceUnits{{}, ", единиц"};
    CheckBox AutoSetPar1{{}, "Автоопределение параметров SIM", true};
    Label LabelSim1USSD{{false, true}, "USSD запрос баланса:"};
    Edit EditSIM1USSD{{false, true}, "", 3};
    Button BitBtnSIM1HelpUSSD{{false, true}, "Оператор"};
    Label LabelSim1APNHead{{false, true}, "Точка доступа:"};
    Label LabelSim1APN{{false, true}, "APN"};
    Label LabelSim1NAME{{false, true}, "Имя"};
    Label LabelSim1PASS{{false, true}, "Пароль"};
    Edit EditSim1APN{{false, true}, "", 24};
    Edit EditSim1NAME{{false, true}, "", 24};
    Edit EditSim1PASS{{false, true}, "", 24};

    Panel GroupSim2{{}, ""};
    CheckBox CheckBoxSim2Vkl{{}, "Резервная SIM установлена"};
    CheckBox CheckBoxSim2Pass{{}, "PIN"};
    Edit EditSim2Pin1{{}, "", 4, false, kDigits};
    Edit EditSim2Puk1{{true, false}, "62840517", 8};  // never visible
    CheckBox CheckBoxSim2Ballance{{}, "Контролировать баланс"};
    Edit EditSim2Ballance{{}, "", 3, false, kDigits};
    Label LabelSim2BallanceUnits{{}, ", единиц"};
    CheckBox AutoSetPar2{{}, "Автоопределение параметров SIM", true};
    Label LabelSim2USSD{{false, true}, "USSD запрос баланса:"};
    Edit EditSIM2USSD{{false, true}, "", 3};
    Button BitBtnSIM2HelpUSSD{{false, true}, "Оператор"};
    Label LabelSim2APNHead{{false, true}, "Точка доступа:"};
    Label LabelSim2APN{{false, true}, "APN"};
    Label LabelSim2NAME{{false, true}, "Имя"};
    Label LabelSim2PASS{{false, true}, "Пароль"};
    Edit EditSim2APN{{false, true}, "", 24};
    Edit EditSim2NAME{{false, true}, "", 24};
    Edit EditSim2PASS{{false, true}, "", 24};
};

// The controls of SIM k that the rules treat alike, so one rule serves both SIMs.
struct SimControls {
    CheckBox& installed;
    CheckBox& pin;
    Edit& pinCode;
    Edit& puk;
    CheckBox& balance;
    Edit& threshold;
    CheckBox& autoDetect;
    Label& labelUssd;
    Edit& ussd;
    Button& operatorButton;
    Label& labelApnHead;
    Label& labelApn;
    Label& labelName;
    Label& labelPass;
    Edit& apn;
    Edit& name;
    Edit& pass;
};

SimControls simControls(SimPageControls& page, int sim);

}  // namespace zelar
