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
// read's line settings. Each port shows its answer beside its name in the list. The selected
// port stays selected when a modem answered on it, else the first port where one did is
// selected; "Модем не найден" when none did. A port that cannot be opened is left alone.
// Stopped (the program told to stop), the port in flight and the rest are not asked. Nothing
// when another operation holds the link.
std::vector<PortProbe> findModem(App& app);
// The button: true when a modem answered.
bool btnFindModemClick(App& app);

// The words for an answer that is no modem ("нет ответа"); empty for a modem.
std::string answerWords(PortAnswer answer);
// What the port list shows for a port that was asked: "COM5 — № 7204518, ПО 2.05",
// "COM3 — нет ответа".
std::string portLabel(const PortProbe& probe);

}  // namespace zelar
