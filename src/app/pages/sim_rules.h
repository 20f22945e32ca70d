#pragma once

#include "forms/form_main.h"

namespace zelar {

// Enabling rules of the SIM groups; each acts on SIM `sim` (1 or 2) as its check box now stands.

// "PIN": the PIN field and the hidden PUK field follow the check box.
void applySimPin(TformMain& main, int sim);
// "Контролировать баланс": the threshold follows it; the USSD field too unless the parameters
// are detected automatically. Unchecked disables both.
void applySimBalance(TformMain& main, int sim);
// "Автоопределение параметров SIM": checked disables the USSD field, "Оператор", the access
// point fields and their labels; unchecked enables them all.
void applySimAutoDetect(TformMain& main, int sim);

}  // namespace zelar
