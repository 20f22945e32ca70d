#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/core/app.h"
#include "settings/identification.h"

namespace zelar {

// What a port of the list answered when asked for the modem's identification.
enum class PortAnswer {
    Modem,         // a well-formed identification
    Silent,        // nothing within the wait
    Unrecognised,  // something that is no identification: another device, or noise
    Unavailable,   // the port could not be opened (another program holds it) or failed
    NotAsked,      // the probe was stopped before this port's answer came
};

struct PortProbe {
    std::string port;  // "COM5"
    PortAnswer answer = PortAnswer::Silent;
    std::optional<Identification> identification;  // with PortAnswer::Modem
};

// The longest wait for one port's answer.
inline constexpr int kProbeWaitMs = 500;
inline constexpr const char* kTextModemNotFound = "Модем не найден";

// "Найти модем": asks every port of the list, one after another, for the identification, at the
// read's line settings. Each port that answered shows its modem beside its name in the list and
// the first of them is selected; "Модем не найден" when none did. A port that cannot be opened
// is left alone. Stopped (the program told to stop), the port in flight and the rest are not
// asked. Nothing when another operation holds the link.
std::vector<PortProbe> findModem(App& app);
// The button: true when a modem answered.
bool btnFindModemClick(App& app);

// What the port list shows for a port where a modem answered: "COM5 — № 7204518, ПО 2.05".
std::string portLabel(const PortProbe& probe);

}  // namespace zelar
