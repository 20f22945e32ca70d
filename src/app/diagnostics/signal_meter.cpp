#include "app/diagnostics/signal_meter.h"

#include <algorithm>
#include <optional>

#include "app/core/port_list.h"
#include "app/diagnostics/diagnostics_page.h"
#include "link/commands.h"

namespace zelar {

namespace {

// One exchange of the fault command as the button makes it, without its messages: a port that
// cannot be opened (`opened` false), an error of the port object and a reply of the wrong form
// are all a missed sample. The port is closed again on every path.
std::optional<FaultsReply> takeSample(App& app, bool& opened) {
    struct CloseAtEnd {
        TModemLink& link;
        ~CloseAtEnd() { link.Close(); }
    } closeAtEnd{app.link};
    opened = false;
    try {
        if (!openLinkOnCurrentPort(app))
            return std::nullopt;
        opened = true;
        app.link.ReadAvailable();
        return decodeFaultsReply(sendDiagnosticsCommand(app, commandV25(), kFaultsReplyForm));
    } catch (const SerialError&) {
        return std::nullopt;
    }
}

// A missed sample: the level the bars and the text showed is no longer known. The fault boxes
// keep what they showed: unchecked, they would say the faults are gone.
void showMissedLevel(TformMain& m) {
    m.StaticTextQuality.caption = kTextMissedSample;
    for (Panel* bar : signalBars(m))
        bar->lit = false;
}

void scheduleSample(App& app, int delayMs);

void sampleTick(App& app) {
    SignalMeterState& meter = app.meter;
    meter.timer = 0;
    EventPump& pump = app.services.pump;
    const std::int64_t startedMs = pump.tickMs();
    meter.sampling = true;
    bool opened = false;
    const SignalSample sample{startedMs, takeSample(app, opened)};
    meter.sampling = false;
    if (!meter.running) {
        meter.lease.reset();  // stopped while the exchange waited
        return;
    }
    // A port that never opened holds no modem to wait for: the meter ends at once, as every
    // other operation does. Later, a port that fails to open (an adapter pulled and put back)
    // is a missed sample.
    if (!opened && meter.history.samples().empty()) {
        stopSignalMeter(app);
        app.services.dialogs.messageBox("Не могу открыть порт", "Модем", MessageIcon::Error,
                                        MessageButtons::Ok);
        return;
    }
    meter.history.add(sample);
    if (sample.reply)
        showFaults(app.main, *sample.reply);
    else
        showMissedLevel(app.main);
    showSignalHistory(app.main, meter.history);
    if (meter.onSample)
        meter.onSample(sample);
    if (!meter.running)
        return;
    if (meter.history.failuresInRow() >= SignalHistory::kFailuresToStop) {
        stopSignalMeter(app);
        app.services.dialogs.messageBox("Нет связи с модемом", "Ошибка", MessageIcon::Error,
                                        MessageButtons::Ok);
        return;
    }
    const auto spentMs = static_cast<int>(pump.tickMs() - startedMs);
    scheduleSample(app, std::max(0, meter.intervalMs - spentMs));
}

void scheduleSample(App& app, int delayMs) {
    app.meter.timer = app.services.pump.startTimer(delayMs, [&app] { sampleTick(app); });
}

std::string percentText(const std::optional<int>& percent) {
    return percent ? std::to_string(*percent) + "%" : std::string("—");
}

}  // namespace

bool CheckBoxMeterClick(App& app) {
    if (!app.main.CheckBoxMeter.checked) {
        stopSignalMeter(app);
        return true;
    }
    if (app.meter.running)
        return true;
    if (!startSignalMeter(app, kMeterIntervalMs)) {
        app.main.CheckBoxMeter.checked = false;
        return false;
    }
    return true;
}

bool startSignalMeter(App& app, int intervalMs) {
    SignalMeterState& meter = app.meter;
    if (meter.running || app.link.busy())
        return false;
    meter.lease.emplace(app.link);
    meter.running = true;
    meter.intervalMs = intervalMs;
    meter.history.clear();
    meter.modem = app.main.StaticTextSN.caption;
    app.main.CheckBoxMeter.checked = true;
    showSignalHistory(app.main, meter.history);
    scheduleSample(app, 0);
    return true;
}

void stopSignalMeter(App& app) {
    SignalMeterState& meter = app.meter;
    if (!meter.running)
        return;
    meter.running = false;
    if (meter.timer != 0)
        app.services.pump.stopTimer(meter.timer);
    meter.timer = 0;
    if (!meter.sampling)
        meter.lease.reset();
    app.main.CheckBoxMeter.checked = false;
}

void showSignalHistory(TformMain& m, const SignalHistory& history) {
    LevelChart& chart = m.ChartSignal;
    chart.spanMs = SignalHistory::kSpanMs;
    chart.points.clear();
    const auto& samples = history.samples();
    for (const SignalSample& sample : samples)
        chart.points.push_back({samples.back().atMs - sample.atMs, sample.percent()});
    m.StaticTextMeter.caption = meterSummaryText(history);
}

std::string meterSummaryText(const SignalHistory& history) {
    if (history.samples().empty())
        return {};
    const SignalStats stats = history.stats();
    return "Сейчас: " + percentText(history.samples().back().percent()) + "    за 5 минут: мин. " +
           percentText(stats.lowest()) + ", макс. " + percentText(stats.highest()) + ", среднее " +
           percentText(stats.mean());
}

}  // namespace zelar
