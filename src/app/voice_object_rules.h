#pragma once

#include "app/app.h"

namespace zelar {

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
