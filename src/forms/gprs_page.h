#pragma once

#include "forms/controls.h"

namespace zelar {

// Entries of the link test period list, in order, and their seconds.
inline const std::vector<std::string> kLinkTestPeriodItems = {" 10 сек.", " 30 сек.", " 1  мин.",
                                                              " 2  мин.", " 10 мин.", " 30 мин.",
                                                              " 1  час",  " 4  часа", "  Выкл."};

// The DNS servers the page offers before a modem is read; the factory defaults write them too.
inline constexpr const char* kDefaultDns1 = "8.8.8.8";
inline constexpr const char* kDefaultDns2 = "77.88.8.8";

// The GPRS page `TabSheet5`.
struct GprsPageControls {
    CheckBox CheckModemFlagGPRS{{}, "Работа по GPRS каналу"};
    Panel GBoxGPRS;
    ComboBox ComboBoxTypeModem{
        {true, false}, {"GSM/GPRS модем Зелар-2"}, 0, "GSM/GPRS модем Зелар-2"};

    Panel GroupGPRSAuth{{}, " Авторизация "};
    Label LabelGPRSLogin{{}, "Имя:"};
    Edit EditGPRSLogin{{}, "", 15};
    Label LabelGPRSPass{{}, "Пароль:"};
    Edit EditGPRSPass{{}, "", 8};
    CheckBox CheckModemFlagGPRSCont{{}, "Постоянное подключение"};

    Panel GroupServer1{{}, " Сервер основной "};
    RadioButton RBtnIP1{{}, "IP-адрес:", true};
    RadioButton RBtnDNS1{{}, "DNS-имя:"};
    Edit EditGPRSIP1{{}, "192.0.2.10", 15, false, kDigitsDot};
    Edit EditGPRSWWW1{{}, "", 24};
    Label LabelGPRSPort1{{}, "Порт:"};
    Edit EditGPRSPort1{{}, "8080", 4, false, kDigits};

    CheckBox CheckBoxGPRSRez2{{}, "Использовать резервный сервер"};
    Panel GroupServer2{{}, " Сервер резервный "};
    RadioButton RBtnIP2{{}, "IP-адрес:", true};
    RadioButton RBtnDNS2{{}, "DNS-имя:"};
    Edit EditGPRSIP2{{}, "192.0.2.11", 15, false, kDigitsDot};
    Edit EditGPRSWWW2{{}, "", 24};
    Label LabelGPRSPort2{{}, "Порт:"};
    Edit EditGPRSPort2{{}, "5000", 4, false, kDigits};

    Panel GroupGPRSCommon{{}, " Общие настройки "};
    Label LabelTestGPRS{{}, "Период проверки связи"};
    ComboBox ComBoxTestGPRS{{}, kLinkTestPeriodItems, 7, " 4  часа"};
    Label LabelGPRSDNS1{{}, "DNS-сервер1:"};
    Edit EditGPRSDNS1{{}, kDefaultDns1, 15, false, kDigitsDot};
    Label LabelGPRSDNS2{{}, "DNS-сервер2:"};
    Edit EditGPRSDNS2{{}, kDefaultDns2, 15, false, kDigitsDot};
};

}  // namespace zelar
