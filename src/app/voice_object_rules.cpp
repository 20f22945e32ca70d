#include "app/voice_object_rules.h"

namespace zelar {

void BtnResetSysObjClick(App&) {}
void CheckBoxECallEnClick(App&) {}
void CheckBoxInCallClick(App&) {}
void EditECallSpkExit(App&) {}
void EditECallMicExit(App&) {}

}  // namespace zelar
