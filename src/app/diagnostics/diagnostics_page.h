#pragma once

#include "app/core/app.h"

namespace zelar {

// The three diagnostics exchanges. Each returns true when the modem's reply was taken and
// shown; on any failure the message is shown and the page keeps what it showed before.

// "Тест": the modem sends its test message.
bool BitBtnTestClick(App& app);
// "Считать" in " Баланс ": current SIM, SIM status and balance.
bool BitBtnReadBalanceClick(App& app);
// "Считать" in " Неисправности ": fault flags and signal level.
bool BitBtnReadErrorClick(App& app);

}  // namespace zelar
