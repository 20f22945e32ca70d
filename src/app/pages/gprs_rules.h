#pragma once

#include "forms/form_main.h"

namespace zelar {

// Enabling rules of the GPRS page.

// "Работа по GPRS каналу": unchecked disables the whole group; checked enables it and then sets
// the server fields by their radio buttons and the reserve server switch.
void applyGprsSwitch(TformMain& main);
// The DNS server fields and their labels.
void setDnsServerFields(TformMain& main, bool enabled);
// The DNS server fields and labels: disabled when both servers are addressed by IP.
void applyDnsServerFields(TformMain& main);
// Server k's address fields by its radio buttons: the IP field for "IP-адрес:", the name
// field for "DNS-имя:".
void applyServerAddressFields(TformMain& main, int server);
// "Использовать резервный сервер": the reserve group, its radio buttons, port and the field of
// its radio button follow the check box.
void applyReserveServer(TformMain& main);

struct App;
inline constexpr const char* kTextEnterDnsServers = "Введите IP-адреса DNS-серверов";
// "IP-адрес:" of server k clicked.
void RBtnIPClick(App& app, int server);
// "DNS-имя:" of server k clicked.
void RBtnDNSClick(App& app, int server);
// The focus left the group: with a server addressed by name, both DNS servers must be given.
void GBoxGPRSExit(App& app);

}  // namespace zelar
