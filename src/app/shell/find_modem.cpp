#include "app/shell/find_modem.h"

#include <algorithm>

#include "app/core/exchange_runner.h"
#include "app/core/port_list.h"
#include "link/commands.h"
#include "link/reply.h"

namespace zelar {

namespace {

constexpr const char* kTextSearching = "Поиск модема...";
const std::size_t kReplyLength = dataReplyLength(kIdentificationLength / 2);

PortProbe askPort(App& app, const std::string& port) {
    PortProbe probe{port, PortAnswer::Unavailable, std::nullopt};
    const auto number = portNumberOf(port);
    if (!number)
        return probe;
    try {
        // A port that another program holds refuses to open: nothing reaches its device.
        app.link.Open(*number);
        app.link.PurgeInput();
        app.link.Send(commandV22());
        const std::string reply = PumpCollect(
            app.services.pump, kProbeWaitMs, [&app] { return app.link.ReadAvailable(); },
            [](const std::string& r) { return isCompleteFrame(r, kReplyLength); });
        const std::string payload = checkFrame(reply, kIdentificationLength / 2)
                                        ? reply.substr(2, kIdentificationLength)
                                        : std::string();
        if (isWellFormedIdentification(payload)) {
            probe.answer = PortAnswer::Modem;
            probe.identification = decodeIdentification(payload);
        } else {
            probe.answer = reply.empty() ? PortAnswer::Silent : PortAnswer::Unrecognised;
        }
    } catch (const SerialError& e) {
        // Unavailable: the probe asks the other ports all the same.
        if (e.fault == PortFault::Stopped)
            probe.answer = PortAnswer::NotAsked;
    }
    app.link.Close();
    return probe;
}

// Each port still listed shows what it answered; a port that came since shows its name alone.
// The port where a modem answered that is selected: the user's own choice when a modem answered
// there, else the first in list order.
const PortProbe* showAnswers(ComboBox& list, const std::vector<PortProbe>& probes) {
    const std::string chosen = list.itemIndex >= 0 ? list.text : std::string();
    list.itemLabels.assign(list.items.size(), std::string());
    const PortProbe* selected = nullptr;
    for (const PortProbe& probe : probes) {
        const auto at = std::find(list.items.begin(), list.items.end(), probe.port);
        if (at == list.items.end())
            continue;
        list.itemLabels[static_cast<std::size_t>(at - list.items.begin())] = portLabel(probe);
        if (probe.answer == PortAnswer::Modem && (selected == nullptr || probe.port == chosen))
            selected = &probe;
    }
    return selected;
}

}  // namespace

std::string answerWords(PortAnswer answer) {
    switch (answer) {
        case PortAnswer::Modem:
            break;
        case PortAnswer::Silent:
            return "нет ответа";
        case PortAnswer::Unrecognised:
            return "ответ не опознан";
        case PortAnswer::Unavailable:
            return "порт недоступен";
        case PortAnswer::NotAsked:
            return "не опрошен";
    }
    return {};
}

std::string portLabel(const PortProbe& probe) {
    if (!probe.identification)
        return probe.port + " — " + answerWords(probe.answer);
    return probe.port + " — № " + probe.identification->serialNumber + ", ПО " +
           probe.identification->firmwareVersion;
}

std::vector<PortProbe> findModem(App& app) {
    TformMain& m = app.main;
    ExchangeRunner run(app, m.btnFindModem, m.BSprogressBarLine1);
    if (!run.held())
        return {};
    refreshPortList(app);
    // The list may change while the probe waits (a drop-down looks again): ask the ports it
    // held at the start, and show the answers on those still listed at the end.
    const std::vector<std::string> ports = m.ComboBox1.items;
    run.setProgress(static_cast<int>(ports.size()), 1);
    m.StatusBar1.text = kTextSearching;
    std::vector<PortProbe> probes;
    for (const std::string& port : ports) {
        const bool stopped = !probes.empty() && probes.back().answer == PortAnswer::NotAsked;
        probes.push_back(stopped ? PortProbe{port, PortAnswer::NotAsked, std::nullopt}
                                 : askPort(app, port));
        run.advance();
    }
    if (const PortProbe* found = showAnswers(m.ComboBox1, probes)) {
        selectItemText(m.ComboBox1, found->port);
        m.StatusBar1.text = kTextModemFound + portLabel(*found);
    } else {
        m.StatusBar1.text = kTextModemNotFound;
        app.services.dialogs.messageBox(kTextModemNotFound, "Модем", MessageIcon::Warning,
                                        MessageButtons::Ok);
    }
    return probes;
}

bool btnFindModemClick(App& app) {
    const auto probes = findModem(app);
    return std::any_of(probes.begin(), probes.end(),
                       [](const PortProbe& p) { return p.answer == PortAnswer::Modem; });
}

}  // namespace zelar
