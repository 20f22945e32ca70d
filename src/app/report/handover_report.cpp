#include "app/report/handover_report.h"

#include <cstddef>
#include <utility>

#include "app/diagnostics/diagnostics_page.h"
#include "app/diagnostics/signal_meter.h"
#include "app/pages/show_settings.h"
#include "app/pages/voice_object_rules.h"
#include "app/shell/login.h"
#include "app/shell/navigation.h"
#include "diagnostics/diagnostics_reply.h"

namespace zelar {

namespace {

constexpr const char* kFileHoldsNoIdentification =
    "Файл настроек не содержит идентификации модема: здесь показано то, что записано в файле "
    "при его сохранении.";
constexpr const char* kFileHoldsNoSignal =
    "Файл настроек не содержит уровня сигнала и неисправностей: они считываются только с модема.";
constexpr const char* kFileHoldsNoObject =
    "Файл настроек не содержит параметров объекта и номеров голосового вызова.";
constexpr const char* kFaultsNotRead = "Не удалось считать: нет связи с модемом.";
constexpr const char* kVoiceCallNotRead =
    "Модем не передал эти настройки при чтении: считайте настройки ещё раз.";
constexpr const char* kMeterSpan = "Цифры и график — за последние пять минут замера.";
constexpr const char* kPagesHidden =
    "Страницы, которые этот вход не может открыть в окне, в отчёт не включены.";

std::string yesNo(bool value) {
    return value ? "да" : "нет";
}

// A window caption as a row's caption: without the blanks around it and its closing colon.
std::string caption(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    std::string out = text.substr(first, text.find_last_not_of(' ') - first + 1);
    if (!out.empty() && out.back() == ':')
        out.pop_back();
    return out;
}

// "Серийный номер: 7204518" as its caption and its value.
std::pair<std::string, std::string> splitLabel(const std::string& text) {
    const auto colon = text.find(": ");
    if (colon == std::string::npos)
        return {text, {}};
    return {text.substr(0, colon), text.substr(colon + 2)};
}

class PartBuilder {
  public:
    PartBuilder(const HandoverRequest& request, std::string title) : request_{request.withSecrets} {
        part_.title = caption(title);
    }
    void row(const std::string& name, std::string value) {
        part_.rows.push_back({caption(name), {request_.unread ? kNotRead : std::move(value)}});
    }
    void check(const CheckBox& box) { row(box.caption, yesNo(box.checked)); }
    void secret(const std::string& name, const std::string& value) {
        row(name, request_.withSecrets || value.empty() ? value : kMaskedSecret);
    }
    // Every value from here on says kNotRead: the modem did not give them.
    void unread() { request_.unread = true; }
    ReportPart take() { return std::move(part_); }

  private:
    struct Masking {
        bool withSecrets;
        bool unread = false;
    };
    Masking request_;
    ReportPart part_;
};

ReportPart identificationPart(const App& app, const HandoverRequest& request) {
    PartBuilder b(request, "Идентификация");
    const TformMain& m = app.main;
    if (request.source == ReportSource::File) {
        b.row("Серийный номер", request.fileSerialNumber);
        b.row("ПО контроллера", request.fileSoftVersion);
        ReportPart part = b.take();
        part.note = kFileHoldsNoIdentification;
        return part;
    }
    for (const std::string& text : {m.StaticTextSN.caption, m.StaticTextBootVer.caption,
                                    m.StaticTextVer.caption, m.EditIMEI.text}) {
        const auto [name, value] = splitLabel(text);
        b.row(name, value);
    }
    return b.take();
}

ReportPart userPart(const TformMain& m, const HandoverRequest& request) {
    PartBuilder b(request, {});
    b.check(m.cbUserON);
    b.row("Передача SMS", !m.cbUserON.checked         ? "—"
                          : m.RBtnSMSifNoGPRS.checked ? m.RBtnSMSifNoGPRS.caption
                                                      : m.RBtnSMSalways.caption);
    b.row(m.PanelUserTel.caption, m.EditUserTel.text);
    b.secret(m.PanelUserPassword.caption, m.EditUserPassword.text);
    b.row(m.PanelUserStatus.caption, m.cbUserStatus.text);
    b.row(m.PanelUserTypeMess.caption, m.cbUserTypeMess.text);
    b.row(m.PanelUserFormat.caption, m.cbUserObjectON.text + ", " + m.cbUserSystemON.text);
    b.row(m.PanelUserPriority.caption, yesNo(m.cbUserPriority.checked));
    b.row(m.PanelSeekObject.caption, m.EditSeekObject.text);
    b.row(m.PanelUserTestMess.caption,
          m.cbUserTestMessON.checked ? m.EditUserTtestmessH.text + ":" + m.EditUserTtestmessM.text
                                     : "выкл.");
    for (const CheckBox* box :
         {&m.CheckBoxMessAlarmON, &m.CheckBoxMessFireON, &m.CheckBoxMessErrON,
          &m.CheckBoxMessPowerON, &m.CheckBoxMessGuardON, &m.CheckBoxMessInfOn})
        b.check(*box);
    return b.take();
}

// A part of one value a row as the next column of `grid`: every user's part has the same rows.
void addColumn(ReportPart& grid, std::string heading, ReportPart column) {
    grid.columns.push_back(std::move(heading));
    if (grid.rows.empty()) {
        for (ReportRow& row : column.rows)
            grid.rows.push_back({std::move(row.caption), {}});
    }
    for (std::size_t i = 0; i < grid.rows.size() && i < column.rows.size(); ++i)
        grid.rows[i].values.push_back(std::move(column.rows[i].values.front()));
}

ReportPart simPart(TformMain& m, const HandoverRequest& request, int k) {
    const SimControls c = simControls(m, k);
    PartBuilder b(request, k == 1 ? m.GroupSim1.caption : "Настройка SIM 2");
    if (k == 2)
        b.check(c.installed);
    b.row("Запрос PIN", yesNo(c.pin.checked));
    b.secret("PIN", c.pinCode.text);
    b.secret("PUK", c.puk.text);
    b.check(c.balance);
    if (c.balance.checked) {
        b.row("Порог баланса, единиц", c.threshold.text);
        b.row(c.labelUssd.caption, c.ussd.text);
    }
    b.check(c.autoDetect);
    if (!c.autoDetect.checked) {
        b.row("Точка доступа: " + c.labelApn.caption, c.apn.text);
        b.row("Точка доступа: " + c.labelName.caption, c.name.text);
        b.secret("Точка доступа: " + c.labelPass.caption, c.pass.text);
    }
    return b.take();
}

void serverRows(PartBuilder& b, const std::string& title, const RadioButton& byName, const Edit& ip,
                const Edit& name, const Edit& port) {
    b.row(title + ": " + (byName.checked ? "DNS-имя" : "IP-адрес"),
          byName.checked ? name.text : ip.text);
    b.row(title + ": порт", port.text);
}

ReportPart gprsPart(const TformMain& m, const HandoverRequest& request) {
    PartBuilder b(request, "GPRS");
    b.check(m.CheckModemFlagGPRS);
    b.check(m.CheckModemFlagGPRSCont);
    b.row("Авторизация: имя", m.EditGPRSLogin.text);
    b.secret("Авторизация: пароль", m.EditGPRSPass.text);
    serverRows(b, caption(m.GroupServer1.caption), m.RBtnDNS1, m.EditGPRSIP1, m.EditGPRSWWW1,
               m.EditGPRSPort1);
    b.check(m.CheckBoxGPRSRez2);
    if (m.CheckBoxGPRSRez2.checked)
        serverRows(b, caption(m.GroupServer2.caption), m.RBtnDNS2, m.EditGPRSIP2, m.EditGPRSWWW2,
                   m.EditGPRSPort2);
    b.row(m.LabelTestGPRS.caption, caption(m.ComBoxTestGPRS.text));
    b.row(m.LabelGPRSDNS1.caption, m.EditGPRSDNS1.text);
    b.row(m.LabelGPRSDNS2.caption, m.EditGPRSDNS2.text);
    return b.take();
}

ReportPart objectPart(const App& app, const HandoverRequest& request) {
    const TformMain& m = app.main;
    PartBuilder b(request, "Параметры объекта");
    b.row(m.LabelMainSys.caption, m.EditMainSys.text);
    b.row(m.LabelMainObj.caption, m.EditMainObj.text);
    b.row(m.LabelProt.caption, m.ComBoxProt.text);
    b.row(m.LabelSerialN.caption, m.EditSerialN.text);
    if (app.setup.ComBoxWorkAs.visible)
        b.row(app.setup.LabWorkAs.caption, app.setup.ComBoxWorkAs.text);
    return b.take();
}

ReportPart voiceCallPart(App& app, const HandoverRequest& request) {
    TformMain& m = app.main;
    PartBuilder b(request, "Голосовой вызов");
    // A value the last read did not give says so, not the emptied field's "нет" or blank.
    const auto shown = [&app](auto& control, std::string value) {
        return isUnreadValue(app, &control) ? std::string(kNotRead) : std::move(value);
    };
    b.row(m.CheckBoxECallEn.caption, shown(m.CheckBoxECallEn, yesNo(m.CheckBoxECallEn.checked)));
    Edit* outgoing[] = {&m.EditECallN1, &m.EditECallN2, &m.EditECallN3, &m.EditECallN4,
                        &m.EditECallN5};
    for (std::size_t i = 0; i < std::size(outgoing); ++i)
        b.row("Исходящий вызов: номер " + std::to_string(i + 1),
              shown(*outgoing[i], outgoing[i]->text));
    b.row(m.CheckBoxInCall.caption, shown(m.CheckBoxInCall, yesNo(m.CheckBoxInCall.checked)));
    Edit* incoming[] = {&m.EditInCallN1, &m.EditInCallN2, &m.EditInCallN3};
    for (std::size_t i = 0; i < std::size(incoming); ++i)
        b.row("Разрешенный номер " + std::to_string(i + 1), shown(*incoming[i], incoming[i]->text));
    b.row(m.LabelECallSpk.caption, shown(m.EditECallSpk, m.EditECallSpk.text));
    b.row(m.LabelECallMic.caption, shown(m.EditECallMic, m.EditECallMic.text));
    ReportPart part = b.take();
    if (app.voiceCallUnread)
        part.note = kVoiceCallNotRead;
    return part;
}

ReportPart faultsPart(TformMain& m, const HandoverRequest& request) {
    PartBuilder b(request, "Сигнал и неисправности");
    if (request.source == ReportSource::File) {
        ReportPart part = b.take();
        part.note = kFileHoldsNoSignal;
        return part;
    }
    if (!request.faultsRead)
        b.unread();
    // "Уровень: 52%", or "Не определен" as it stands.
    const auto [name, value] = splitLabel(m.StaticTextQuality.caption);
    b.row("Уровень сигнала", value.empty() ? name : value);
    for (const CheckBox* box : shownFaultBoxes(m))
        b.check(*box);
    ReportPart part = b.take();
    if (!request.faultsRead)
        part.note = kFaultsNotRead;
    return part;
}

std::string durationText(std::int64_t ms) {
    const std::int64_t seconds = ms / 1000;
    if (seconds < 60)
        return std::to_string(seconds) + " с";
    return std::to_string(seconds / 60) + " мин " + std::to_string(seconds % 60) + " с";
}

std::string percentOrDash(std::optional<int> percent) {
    return percent ? std::to_string(*percent) + "%" : "—";
}

// The signal meter's run of this visit, as the diagnostics page shows it: its figures side by
// side in one row, then the chart.
ReportPart meterPart(const App& app) {
    const SignalHistory& history = app.meter.history;
    const SignalStats stats = history.stats();
    ReportPart part;
    part.title = "Проверка антенны (измеритель «Непрерывно»)";
    part.columns = {"Длительность", "Сейчас",  "Наименьший",
                    "Наибольший",   "Средний", "Пропущено ответов"};
    part.rows = {
        {"Уровень сигнала",
         {durationText(history.durationMs()), percentOrDash(history.samples().back().percent()),
          percentOrDash(stats.lowest()), percentOrDash(stats.highest()),
          percentOrDash(stats.mean()), std::to_string(stats.missed())}}};
    part.note = kMeterSpan;
    part.chart = app.main.ChartSignal;
    return part;
}

std::vector<ReportRow> heading(const App& app, const HandoverRequest& request) {
    std::vector<ReportRow> rows = {{"Дата и время", {request.createdAt}},
                                   {"Монтажник", {request.installer}},
                                   {"Объект", {request.site}}};
    if (request.source == ReportSource::File) {
        rows.push_back({"Источник", {"файл настроек " + request.sourceName}});
    } else {
        rows.push_back({"Источник", {"модем на порту " + request.sourceName}});
        rows.push_back({"Вход",
                        {app.login.loggedIn ? "пользователь №" + std::to_string(app.login.user) +
                                                  ", " + roleName(app.login.role)
                                            : "без входа"}});
    }
    return rows;
}

}  // namespace

HandoverReport handoverReport(App& app, const HandoverRequest& request) {
    HandoverReport report;
    report.heading = heading(app, request);
    report.parts.push_back(identificationPart(app, request));

    // A settings file belongs to whoever holds it; a modem shows what the login may open.
    const bool file = request.source == ReportSource::File;
    auto mayOpen = [&](int node) { return file || mayOpenNode(app, node); };
    bool hidden = false;

    // Each user is shown on the user page in turn, a column each; the page the window shows is
    // put back after.
    const TformMain shown = app.main;
    ReportPart users;
    users.title = "Пользователи";
    for (int n = 1; n <= kUserCount; ++n) {
        if (!mayOpen(n)) {
            hidden = true;
            continue;
        }
        ShowUserSettings(app, n);
        addColumn(users, "№" + std::to_string(n), userPart(app.main, request));
    }
    app.main = shown;
    if (!users.columns.empty())
        report.parts.push_back(std::move(users));

    TformMain& m = app.main;
    if (mayOpen(kNodeModem)) {
        report.parts.push_back(simPart(m, request, 1));
        report.parts.push_back(simPart(m, request, 2));
        report.parts.push_back(gprsPart(m, request));
        if (!file)
            report.parts.push_back(objectPart(app, request));
    } else {
        hidden = true;
    }
    if (file) {
        report.parts.push_back(
            {"Параметры объекта и голосовой вызов", {}, {}, kFileHoldsNoObject, {}});
    } else if (mayOpen(kNodeVoiceCall)) {
        report.parts.push_back(voiceCallPart(app, request));
    } else {
        hidden = true;
    }
    report.parts.push_back(faultsPart(m, request));
    if (!file && !app.meter.history.samples().empty() &&
        app.meter.modem == app.main.StaticTextSN.caption)
        report.parts.push_back(meterPart(app));
    if (hidden)
        report.heading.push_back({"Примечание", {kPagesHidden}});
    return report;
}

}  // namespace zelar
