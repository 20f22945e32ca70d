#pragma once

#include <string>
#include <vector>

#include "app/core/app.h"
#include "forms/control_registry.h"

namespace zelar {

inline constexpr const char* kTextResetQuestion = "Сбросить настройки адреса?";
// Spelled so on purpose: this is the text the reset has always shown.
inline constexpr const char* kTextResetCannotOpenPort = "Не мгу открыть порт";
inline constexpr const char* kTextResetting = "Сброс основной системы и объекта";
inline constexpr const char* kTextResetDone = "Основные система и объект успешно сброшены";
inline constexpr const char* kTextModemWriteError = "Ошибка записи в модем";
// System 000, object 4000, protocol RPI: what the modem holds when it leaves the factory.
inline constexpr const char* kResetSysObjLine = "AT+V4000040006\r";

enum class AudioField { Speaker, Microphone };
// The message of an audio level field's check (empty, or outside 1 to 15 or 1 to 100), or
// nullptr when the text is a level in its range.
const char* audioLevelProblem(AudioField field, const std::string& text);

// The five outgoing numbers and their labels "1:" to "5:".
void enableOutgoingNumbers(TformMain& main, bool enabled);
// The heading "Разрешенные номера:", the three allowed numbers and their labels.
void enableIncomingNumbers(TformMain& main, bool enabled);

inline constexpr const char* kTextVoiceCallUnread =
    "Настройки голосового вызова не считаны из модема. Считайте настройки ещё раз";

// The voice call block as the read left it: unread, its values emptied and its controls
// disabled, so that no other modem's values pass for this one's; read, its controls enabled
// again (the numbers as "Разрешить исходящий вызов" says).
void setVoiceCallUnread(App& app, bool unread);
// Whether the control holds one of the voice call block's values while the block is unread.
bool isUnreadValue(const App& app, const ControlRef& control);
// `controls` without those, for the front ends that print what a read found.
std::vector<NamedControl> withoutUnreadValues(const App& app, std::vector<NamedControl> controls);

// "Сброс": resets the main system and object in the modem with a fixed V40 line.
void BtnResetSysObjClick(App& app);
// "Разрешить исходящий вызов" clicked: the five numbers and their labels follow it.
void CheckBoxECallEnClick(App& app);
// "Разрешить входящий вызов" clicked: the three allowed numbers and their labels follow it.
void CheckBoxInCallClick(App& app);
// The audio level fields left: range checks, the focus put back after a message.
void EditECallSpkExit(App& app);
void EditECallMicExit(App& app);

}  // namespace zelar
