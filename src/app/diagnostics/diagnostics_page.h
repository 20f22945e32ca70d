#pragma once

#include <array>
#include <string>

#include "app/core/app.h"
#include "diagnostics/diagnostics_reply.h"

namespace zelar {

// The three diagnostics exchanges. Each returns true when the modem's reply was taken and
// shown; on any failure the message is shown and the page keeps what it showed before.

// "Тест": the modem sends its test message.
bool BitBtnTestClick(App& app);
// "Считать" in " Баланс ": current SIM, SIM status and balance.
bool BitBtnReadBalanceClick(App& app);
// "Считать" in " Неисправности ": fault flags and signal level.
bool BitBtnReadErrorClick(App& app);

// Sends a diagnostics command on the open link and takes its reply after the command's wait.
std::string sendDiagnosticsCommand(App& app, const std::string& line,
                                   const DiagnosticsReplyForm& form);
// The fault check boxes in the order of their bits.
std::array<CheckBox*, kShownFaultBits> faultBoxes(TformMain& m);
// The signal bars, lowest first.
std::array<Panel*, 5> signalBars(TformMain& m);
// Every check box of " Неисправности " as the window shows it: those of the bits, then
// "Ошибка ввода PIN", which no reply sets.
inline constexpr std::size_t kFaultBoxCount = kShownFaultBits + 1;
std::array<const CheckBox*, kFaultBoxCount> shownFaultBoxes(const TformMain& m);
// The fault check boxes, the signal bars and the level text as the reply gives them.
void showFaults(TformMain& m, const FaultsReply& faults);

}  // namespace zelar
