#pragma once

#include "app/core/app.h"

namespace zelar {

// "Оператор" of SIM `sim`: shows the operator preset dialog for that SIM.
void BitBtnSIMHelpUSSDClick(App& app, int sim);
// "OK" of the dialog: the selected preset goes into the SIM's fields; the dialog closes.
void ButtonUSSDOperatorClick(App& app);
// "Отмена": the dialog closes without a change.
void BitBtnUSSDCloseClick(App& app);

}  // namespace zelar
