#include "app/core/exchange_runner.h"

#include <algorithm>

#include "app/core/handler_guard.h"
#include "app/core/port_list.h"
#include "files/settings_file.h"
#include "link/commands.h"
#include "link/reply.h"
#include "text/hex.h"

namespace zelar {

ExchangeRunner::ExchangeRunner(App& app, Button& button, ProgressBar& bar)
    : ExchangeRunner(app, static_cast<Control&>(button), &bar) {}

ExchangeRunner::ExchangeRunner(App& app, Control& trigger, ProgressBar* bar)
    : app_(app), lease_(app.link), controls_{&trigger}, bar_(bar) {
    if (held())
        trigger.enabled = false;
}

ExchangeRunner::ExchangeRunner(App& app, std::initializer_list<Control*> controls)
    : app_(app), lease_(app.link), controls_(controls), bar_(nullptr) {
    if (held()) {
        for (Control* c : controls_)
            c->enabled = false;
    }
}

ExchangeRunner::~ExchangeRunner() {
    if (!held())
        return;
    app_.link.Close();
    if (bar_ != nullptr)
        bar_->position = bar_->min;
    for (Control* c : controls_)
        c->enabled = true;
}

void ExchangeRunner::setProgress(int max, int step) {
    if (bar_ != nullptr)
        setRange(*bar_, 0, max, step);
}

void ExchangeRunner::setPosition(int position) {
    if (bar_ != nullptr)
        bar_->position = std::clamp(position, bar_->min, bar_->max);
}

void ExchangeRunner::advance() {
    if (bar_ != nullptr)
        stepIt(*bar_);
}

bool ExchangeRunner::open() {
    if (!openLinkOnCurrentPort(app_))
        return false;
    try {
        app_.link.ReadAvailable();
    } catch (const SerialError&) {
        app_.link.Close();
        return false;
    }
    return true;
}

void ExchangeRunner::close() {
    app_.link.Close();
}

bool ExchangeRunner::step(const std::function<bool()>& body) {
    if (failed_)
        return false;
    bool good = false;
    try {
        good = body();
    } catch (const SerialError& error) {
        // The port object has failed for good (a pulled cable, say): stop using it at once.
        app_.link.Close();
        reportPortError(app_, error);
        portFailed_ = true;
    }
    failed_ = !good;
    return good;
}

void ExchangeRunner::reportFailure(const std::string& text) {
    if (portFailed_ || verifyReported_)
        return;
    app_.services.dialogs.messageBox(text, "Модем", MessageIcon::Error, MessageButtons::Ok);
}

bool ExchangeRunner::sendWaitOK(const std::string& line, bool purge) {
    return step([&] {
        if (purge) {
            app_.link.PurgeInput();
            app_.link.PurgeOutput();
        }
        app_.link.Send(line);
        return app_.link.WaitForOK(TModemLink::kDefaultPolls) && readBack(line);
    });
}

bool ExchangeRunner::sendPauseOK(const std::string& line, int pauseMs) {
    return step([&] {
        app_.link.Send(line);
        return containsOK(app_.link.WaitReply(pauseMs, isCompleteAck)) && readBack(line);
    });
}

bool ExchangeRunner::readBack(const std::string& line) {
    if (!app_.main.cbVerifyWrites.checked)
        return true;
    const auto written = parseCommandV16(line);
    if (!written)
        return true;
    const auto length = static_cast<std::uint16_t>(written->data.size());
    app_.link.PurgeInput();
    app_.link.Send(commandV17(written->address, length));
    const std::string reply =
        app_.link.CollectReply(TModemLink::kDefaultPolls, dataReplyLength(length));
    const auto held = checkFrame(reply, length) ? decodePayload(reply, length) : std::nullopt;
    if (!held)
        return false;  // no readable answer: the link's failure, reported as such
    const auto [sent, stored] =
        std::mismatch(written->data.begin(), written->data.end(), held->begin());
    if (sent == written->data.end())
        return true;
    const auto address =
        static_cast<std::uint16_t>(written->address + (sent - written->data.begin()));
    const auto name = settingsFieldAt(address);
    const std::string what =
        name ? "поля «" + name->field + "» (" + name->page + ")" : "по адресу " + toHex(address, 4);
    app_.services.dialogs.messageBox("Проверка записи: в модеме другое значение " + what, "Модем",
                                     MessageIcon::Error, MessageButtons::Ok);
    verifyReported_ = true;
    return false;
}

}  // namespace zelar
