#pragma once

#include <string>

#include "app/core/app.h"

namespace zelar {

// The signal meter of the diagnostics page: the fault command once an interval, each exchange
// on its own (open, send, wait, read, close), the page following every reply and the chart the
// last five minutes. While it runs the link is held, so the other operations are refused.

inline constexpr int kMeterIntervalMs = 1000;
// The level text after a sample whose reply did not come; the bars are all unlit.
inline constexpr const char* kTextMissedSample = "Нет ответа";

// "Непрерывно": checking it starts the meter, unchecking stops it. Refused (the box unchecked
// again) while another operation holds the link.
bool CheckBoxMeterClick(App& app);
// Starts the meter with its first sample due at once; false when another operation holds the
// link. The history of an earlier run is forgotten.
bool startSignalMeter(App& app, int intervalMs);
// Stops it where it is; a sample under way ends unshown. Nothing when it does not run.
void stopSignalMeter(App& app);

// The chart's and the summary's view of the history.
void showSignalHistory(TformMain& m, const SignalHistory& history);
// "Сейчас: 52%    за 5 минут: мин. 45%, макс. 61%, среднее 53%", with "—" where there is no
// level.
std::string meterSummaryText(const SignalHistory& history);

}  // namespace zelar
