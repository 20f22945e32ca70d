#include "app/diagnostics/diagnostics_page.h"

#include <array>
#include <optional>
#include <string>

#include "app/core/exchange_runner.h"
#include "diagnostics/diagnostics_reply.h"
#include "link/commands.h"
#include "link/reply.h"

namespace zelar {

namespace {

constexpr const char* kTextNoLink = "Нет связи с модемом";

void noLink(App& app) {
    app.services.dialogs.messageBox(kTextNoLink, "Ошибка", MessageIcon::Error, MessageButtons::Ok);
}

// Open, send, one fixed wait, one read; the link is closed at the end on every path. Nothing
// when another operation holds the link, the port cannot be opened or the port object failed
// (each already reported).
std::optional<std::string> exchange(App& app, Button& button, const std::string& line,
                                    const DiagnosticsReplyForm& form) {
    ExchangeRunner run(app, button);
    if (!run.held())
        return std::nullopt;
    if (!run.open()) {
        app.services.dialogs.messageBox("Не могу открыть порт", "Модем", MessageIcon::Error,
                                        MessageButtons::Ok);
        return std::nullopt;
    }
    std::string reply;
    const bool good = run.step([&] {
        reply = sendDiagnosticsCommand(app, line, form);
        return true;
    });
    if (!good)
        return std::nullopt;
    return reply;
}

}  // namespace

std::array<CheckBox*, kShownFaultBits> faultBoxes(TformMain& m) {
    return {&m.CheckBoxErr5V,        &m.CheckBoxErr12V,      &m.CheckBoxErrVddExt,
            &m.CheckBoxErrVddSim,    &m.CheckBoxErrInEEPROM, &m.CheckBoxErrFlash,
            &m.CheckBoxErrSim,       &m.CheckBoxErrSimCard,  &m.CheckBoxErrCheckEEPROM,
            &m.CheckBoxErrCheckFlash};
}

bool BitBtnTestClick(App& app) {
    const auto reply = exchange(app, app.main.BitBtnTest, commandV23(), kTestReplyForm);
    if (!reply)
        return false;
    if (reply->size() != kTestReplyForm.length) {
        noLink(app);
        return false;
    }
    app.services.dialogs.messageBox("Тест выполнен", "Модем", MessageIcon::None,
                                    MessageButtons::Ok);
    return true;
}

bool BitBtnReadBalanceClick(App& app) {
    TformMain& m = app.main;
    const auto reply = exchange(app, m.BitBtnReadBalance, commandV24(), kBalanceReplyForm);
    if (!reply)
        return false;
    const auto balance = decodeBalanceReply(*reply);
    if (!balance) {
        noLink(app);
        return false;
    }
    m.StaticTextNumSimCard.caption =
        std::string("Текущая Sim: ") + (balance->mainSim ? "Основная" : "Резервная");
    m.StaticTextBalanceStatus.caption =
        std::string("Статус Sim: ") + (balance->simDefined ? "Определен" : "Неопределен");
    m.StaticTextBalanceSim.caption =
        "Баланс: " + formatBalance(balance->balance, app.decimalSeparator);
    return true;
}

bool BitBtnReadErrorClick(App& app) {
    TformMain& m = app.main;
    const auto reply = exchange(app, m.BitBtnReadError, commandV25(), kFaultsReplyForm);
    if (!reply)
        return false;
    const auto faults = decodeFaultsReply(*reply);
    if (!faults) {
        noLink(app);
        return false;
    }
    showFaults(m, *faults);
    archiveVisit(app, archive::VisitOperation::Diagnostics);
    return true;
}

std::string sendDiagnosticsCommand(App& app, const std::string& line,
                                   const DiagnosticsReplyForm& form) {
    app.link.Send(line);
    return app.link.WaitReply(kDiagnosticsWaitMs, [&form](const std::string& r) {
        return isCompleteFrame(r, form.length);
    });
}

void showFaults(TformMain& m, const FaultsReply& faults) {
    const auto boxes = faultBoxes(m);
    for (int bit = 0; bit < kShownFaultBits; ++bit)
        boxes[static_cast<std::size_t>(bit)]->checked = faultBit(faults.flags, bit);

    const auto percent = signalPercent(faults.level);
    m.StaticTextQuality.caption =
        percent ? "Уровень: " + std::to_string(*percent) + "%" : std::string("Не определен");
    Panel* bars[] = {&m.PanelQ1, &m.PanelQ2, &m.PanelQ3, &m.PanelQ4, &m.PanelQ5};
    for (int bar = 0; bar < 5; ++bar)
        bars[bar]->lit = signalBarLit(faults.level, bar);
}

}  // namespace zelar
