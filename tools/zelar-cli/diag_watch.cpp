#include "diag_watch.h"

#include <iostream>

#include "app/diagnostics/diagnostics_page.h"
#include "app/diagnostics/signal_meter.h"
#include "commands.h"
#include "interrupt.h"
#include "platform/local_time.h"
#include "platform/regular_files.h"
#include "text/hex.h"

namespace zelar::cli {

namespace {

constexpr int kBarWidth = 20;

std::string percentText(const std::optional<int>& percent) {
    return percent ? std::to_string(*percent) + "%" : std::string("—");
}

// The captions of the fault check boxes that the last reply set.
std::string setFaults(TformMain& m) {
    std::string names;
    for (const CheckBox* box : faultBoxes(m)) {
        if (box->checked)
            names += (names.empty() ? "" : ", ") + box->caption;
    }
    return names;
}

}  // namespace

std::string watchLine(const std::string& time, const SignalSample& sample,
                      const std::string& faults) {
    if (!sample.reply)
        return time + "  нет ответа";
    const auto percent = sample.percent();
    std::string level = percent ? std::to_string(*percent) + "%" : "не определен";
    if (level.size() < 4)
        level.insert(0, 4 - level.size(), ' ');
    const int filled = percent ? (*percent * kBarWidth + 50) / 100 : 0;
    std::string line = time + "  " + level + "  " + std::string(filled, '#') +
                       std::string(kBarWidth - filled, '.');
    if (!faults.empty())
        line += "  " + faults;
    return line;
}

std::string watchSummary(const SignalStats& stats) {
    return "Мин.: " + percentText(stats.lowest()) + ", макс.: " + percentText(stats.highest()) +
           ", среднее: " + percentText(stats.mean()) +
           ", пропущено ответов: " + std::to_string(stats.missed());
}

CsvRow watchCsvRow(const std::string& time, const SignalSample& sample) {
    if (!sample.reply)
        return {time, "", "", ""};
    const auto percent = sample.percent();
    return {time, std::to_string(sample.reply->level), percent ? std::to_string(*percent) : "",
            "0x" + toHex(sample.reply->flags, 4)};
}

int runDiagWatch(CliSession& session, const CliOptions& options) {
    if (options.json)
        return badArguments("--watch prints a line a sample and takes no --json");
    if (!session.start())
        return 1;
    App& app = session.app();
    if (options.user && !session.readAndLogIn())
        return 1;

    SignalStats stats;
    std::string csv = csvLine({"time", "level", "percent", "faults"});
    int taken = 0;
    app.meter.onSample = [&](const SignalSample& sample) {
        // The sample that Ctrl+C or the lost output cut short is no missed reply.
        if (interrupted() || outputLost())
            return;
        stats.add(sample);
        std::cout << watchLine(localClockTime(), sample, setFaults(app.main)) << std::endl;
        csv += csvLine(watchCsvRow(numericLocalTime(), sample));
        if (options.count && ++taken >= *options.count)
            stopSignalMeter(app);
    };
    if (!startSignalMeter(app, options.intervalSeconds.value_or(1) * 1000))
        return 1;
    while (app.meter.running && !interrupted() && !outputLost())
        session.pump().processEvents(TModemLink::kPollMs);
    stopSignalMeter(app);
    app.meter.onSample = nullptr;
    // The port did not open: said as every command says it, with nothing to sum up or keep.
    if (stats.replies() + stats.missed() == 0 && !interrupted())
        return 1;

    std::cout << watchSummary(stats) << std::endl;
    if (!options.csvFile.empty()) {
        if (const std::string problem = replaceFile(options.csvFile, csv); !problem.empty()) {
            std::cerr << "zelar-cli: " << problem << '\n';
            return 1;
        }
    }
    return stats.replies() > 0 ? 0 : 1;
}

}  // namespace zelar::cli
