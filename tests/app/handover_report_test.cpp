#include <unistd.h>
#include <algorithm>
#include <filesystem>
#include <functional>
#include <regex>

#include "app/diagnostics/diagnostics_page.h"
#include "app/diagnostics/signal_meter.h"
#include "app/report/handover_report.h"
#include "app/report/report_pages.h"
#include "app/report/save_report.h"
#include "app/service/settings_file_page.h"
#include "app/shell/login.h"
#include "app/shell/navigation.h"
#include "files/file_io.h"
#include "sim_fixture.h"

namespace zelar::test {
namespace {

// One value of the report: who made it (user 0 for the modem's settings file, a password of
// "lost" for user 1 after a read that lost the voice call block, "none" for no login), whether the
// secrets show, and what the part, the column (the users' "№N", or nullptr) and row hold; a part or
// column that must be missing has no value, a note is looked up by its part alone.
struct ReportCase {
    int user;
    const char* password;
    bool secrets;
    const char* part;
    const char* column;   // nullptr: the part has one value a row
    const char* caption;  // nullptr: the part's note
    const char* value;    // nullptr: the part (or the column) is not in the report
};

// Who made the report, in the test's name.
void PrintTo(const ReportCase& c, std::ostream* out) {
    *out << (c.user == 0 ? "file" : "user " + std::to_string(c.user)) << " " << c.password
         << (c.secrets ? " with secrets" : "");
}

class HandoverReportTest : public SimFixture, public ::testing::WithParamInterface<ReportCase> {
  protected:
    HandoverReport make(const ReportCase& c) {
        HandoverRequest request;
        request.withSecrets = c.secrets;
        request.sourceName = "COM1";
        if (c.user == 0) {
            EXPECT_TRUE(readAndLogIn(app, 1, "1234"));
            const std::string file = composeSettingsFile(settingsFileContent(app));
            app.login = {};
            app.settingsRead = false;
            EXPECT_TRUE(showFileForReport(app, file, "modem.md2", request));
        } else {
            const bool lost = std::string(c.password) == "lost";
            if (lost)  // the read's last V17, the outgoing call's block, gets no "OK"
                modem.options().faults.rules.push_back({sim::ReplyFault::NoOk, 17, 25});
            const bool none = std::string(c.password) == "none";  // read, no password given
            EXPECT_TRUE(readAndLogIn(app, none ? std::nullopt : std::optional(c.user),
                                     lost ? "1234" : c.password));
            request.faultsRead = BitBtnReadErrorClick(app);
        }
        return handoverReport(app, request);
    }
};

TEST_P(HandoverReportTest, ShowsWhatTheLoginMaySeeWithSecretsMasked) {
    const ReportCase& c = GetParam();
    const HandoverReport report = make(c);
    const auto part = std::find_if(report.parts.begin(), report.parts.end(),
                                   [&](const ReportPart& p) { return p.title == c.part; });
    if (c.value == nullptr && c.column == nullptr) {
        EXPECT_EQ(part, report.parts.end()) << c.part;
        return;
    }
    ASSERT_NE(part, report.parts.end()) << c.part;
    std::size_t column = 0;
    if (c.column != nullptr) {
        const auto at = std::find(part->columns.begin(), part->columns.end(), c.column);
        if (c.value == nullptr) {
            EXPECT_EQ(at, part->columns.end()) << c.column;
            return;
        }
        ASSERT_NE(at, part->columns.end()) << c.column;
        column = static_cast<std::size_t>(at - part->columns.begin());
    }
    if (c.caption == nullptr) {
        EXPECT_NE(part->note.find(c.value), std::string::npos) << part->note;
        return;
    }
    const auto row = std::find_if(part->rows.begin(), part->rows.end(),
                                  [&](const ReportRow& r) { return r.caption == c.caption; });
    ASSERT_NE(row, part->rows.end()) << c.part << " / " << c.caption;
    ASSERT_LT(column, row->values.size()) << c.part << " / " << c.caption;
    EXPECT_EQ(row->values[column], c.value) << c.part << " / " << c.caption;
}

constexpr const char* kUsers = "Пользователи";
constexpr const char* kFaults = "Сигнал и неисправности";
constexpr const char* kVoice = "Голосовой вызов";

INSTANTIATE_TEST_SUITE_P(
    Pages, HandoverReportTest,
    ::testing::Values(
        ReportCase{1, "1234", false, "Идентификация", nullptr, "Серийный номер", "7204518"},
        ReportCase{1, "1234", false, kUsers, "№1", "Пароль", "****"},
        ReportCase{1, "1234", true, kUsers, "№1", "Пароль", "1234"},
        ReportCase{1, "1234", false, kUsers, "№2", "Статус пользователя", "Хозяин"},
        ReportCase{1, "1234", false, kUsers, "№3", "Тип сообщения", "SMS для АРМ"},
        ReportCase{1, "1234", false, kUsers, "№3", "Телефон", "89261234567"},
        ReportCase{1, "1234", false, kUsers, "№4", "Разрешить тревожные сообщения", "да"},
        ReportCase{1, "1234", false, kUsers, "№4", "Разрешить сообщения о пожаре", "нет"},
        ReportCase{1, "1234", false, kUsers, "№6", "Телефон", ""},
        ReportCase{1, "1234", false, kUsers, "№4", "Телефон", "+79165550000"},
        ReportCase{1, "1234", false, kUsers, "№5", "Включить пользователя", "нет"},
        ReportCase{1, "1234", false, kUsers, "№5", "Передача SMS", "—"},
        ReportCase{1, "1234", false, kUsers, "№1", "Передача SMS", "Передавать всегда"},
        ReportCase{1, "1234", false, "Настройка SIM 1", nullptr, "PIN", "****"},
        ReportCase{1, "1234", true, "Настройка SIM 1", nullptr, "PIN", "4951"},
        ReportCase{1, "1234", false, "Настройка SIM 1", nullptr, "PUK", "****"},
        ReportCase{1, "1234", false, "Настройка SIM 2", nullptr, "Точка доступа: Пароль", "****"},
        ReportCase{1, "1234", true, "Настройка SIM 2", nullptr, "Точка доступа: Пароль", "beeline"},
        ReportCase{1, "1234", false, "GPRS", nullptr, "Авторизация: пароль", "****"},
        ReportCase{1, "1234", true, "GPRS", nullptr, "Авторизация: пароль", "z2pass"},
        ReportCase{1, "1234", false, "GPRS", nullptr, "Сервер резервный: DNS-имя",
                   "reserve.example.ru"},
        ReportCase{1, "1234", false, "Параметры объекта", nullptr, "Основной номер объекта",
                   "1234"},
        ReportCase{1, "1234", false, "Параметры объекта", nullptr, "Протокол", "RPI"},
        ReportCase{1, "1234", false, kVoice, nullptr, "Исходящий вызов: номер 2", "+79031112233"},
        ReportCase{1, "1234", false, kVoice, nullptr, "Разрешить исходящий вызов", "да"},
        ReportCase{1, "1234", false, kVoice, nullptr, "Громкость динамика", "60"},
        ReportCase{1, "1234", false, kFaults, nullptr, "Ошибка 5В", "нет"},
        ReportCase{1, "1234", false, kFaults, nullptr, "Ошибка ввода PIN", "нет"},
        ReportCase{1, "1234", false, kFaults, nullptr, "Уровень сигнала", "55%"},
        // The voice call block lost by the read: what it held is not read, not "нет" or blank;
        // the allowed numbers come from another block and stand.
        ReportCase{1, "lost", false, kVoice, nullptr, "Разрешить исходящий вызов", "не считано"},
        ReportCase{1, "lost", false, kVoice, nullptr, "Исходящий вызов: номер 2", "не считано"},
        ReportCase{1, "lost", false, kVoice, nullptr, "Чувствительность микрофона", "не считано"},
        ReportCase{1, "lost", false, kVoice, nullptr, "Разрешенный номер 2", "89031112233"},
        ReportCase{1, "lost", false, kVoice, nullptr, nullptr, "Модем не передал эти настройки"},
        // Read without a login: the identification and the signal only.
        ReportCase{1, "none", false, kUsers, nullptr, nullptr, nullptr},
        ReportCase{1, "none", false, "Настройка SIM 1", nullptr, nullptr, nullptr},
        ReportCase{1, "none", false, kFaults, nullptr, "Ошибка ввода PIN", "нет"},
        // "Хозяин": no modem pages, no "Мастер" users; "Охранник": only itself.
        ReportCase{2, "5678", false, "Настройка SIM 1", nullptr, nullptr, nullptr},
        ReportCase{2, "5678", false, kUsers, "№1", "Пароль", nullptr},
        ReportCase{2, "5678", false, kUsers, "№2", "Пароль", "****"},
        ReportCase{2, "5678", false, kVoice, nullptr, "Разрешить входящий вызов", "да"},
        ReportCase{3, "0000", false, kVoice, nullptr, nullptr, nullptr},
        ReportCase{3, "0000", false, kUsers, "№4", "Пароль", nullptr},
        ReportCase{3, "0000", false, kUsers, "№3", "Пароль", "****"},
        // A settings file: every page it holds, what it cannot hold said.
        ReportCase{0, "", false, kUsers, "№1", "Пароль", "****"},
        ReportCase{0, "", false, kUsers, "№4", "Телефон", "+79165550000"},
        ReportCase{0, "", true, "Настройка SIM 1", nullptr, "PIN", "4951"},
        ReportCase{0, "", false, "Идентификация", nullptr, "Серийный номер", "720451"},
        ReportCase{0, "", false, "Идентификация", nullptr, nullptr, "не содержит идентификации"},
        ReportCase{0, "", false, kFaults, nullptr, nullptr, "не содержит уровня"},
        ReportCase{0, "", false, kVoice, nullptr, nullptr, nullptr}));

// How saving ends, each case from a modem read and logged in as user 1: the outcome, the last
// message and what the file then holds (nothing: no file).
struct SaveCase {
    const char* what;
    std::function<void(App&, sim::SimModem&, sim::SimCable&)> before;
    std::optional<std::string> name;  // the file dialog's answer, in the test's folder
    bool withPdf;
    ReportSaveResult result;
    std::string message;
    const char* holds;
};

class ReportSaveTest : public SimFixture {
  protected:
    void SetUp() override {
        dir =
            std::filesystem::temp_directory_path() / ("zelar-report-" + std::to_string(::getpid()));
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    // The dialog's answers in turn, each what was shown to it with the site and installer
    // typed; nothing once they run out (cancelled).
    ReportDialogAsk answers(std::vector<std::optional<HandoverRequest>> given) {
        return [this, given = std::move(given)](const HandoverRequest& shown) mutable {
            asked.push_back(shown);
            if (given.empty())
                return std::optional<HandoverRequest>();
            auto answer = given.front();
            given.erase(given.begin());
            return answer;
        };
    }
    std::string file(const std::string& name) {
        return readFileUpTo((dir / name).string(), 1 << 22).value_or("");
    }

    std::filesystem::path dir;
    std::vector<HandoverRequest> asked;
};

TEST_F(ReportSaveTest, EndsAsTheCaseWants) {
    const auto nothing = [](App&, sim::SimModem&, sim::SimCable&) {};
    const std::string savedUnread =
        std::string(kTextReportSaved) + ", но не всё в нём считано с модема";
    const std::vector<SaveCase> cases = {
        {"html", nothing, "r.html", false, ReportSaveResult::Saved, kTextReportSaved,
         "<h2>Сигнал и неисправности</h2>"},
        {"pdf by its writer", nothing, "r.PDF", true, ReportSaveResult::Saved, kTextReportSaved,
         "PDF of 8 parts"},
        {"pdf without a writer", nothing, "n.pdf", false, ReportSaveResult::Failed,
         "Этот выпуск программы не пишет PDF: сохраните отчёт как HTML", nullptr},
        // The file dialog cancelled brings the report dialog back; cancelled too, nothing said.
        {"dialogs cancelled", nothing, std::nullopt, true, ReportSaveResult::Cancelled, "",
         nullptr},
        {"a folder that is no folder", nothing, "r.html/x.html", false, ReportSaveResult::Failed,
         "Не могу записать файл", nullptr},
        {"no read", [](App& a, sim::SimModem&, sim::SimCable&) { a.settingsRead = false; },
         "x.html", false, ReportSaveResult::Refused, "Считайте настройки модема...", nullptr},
        // The fault read failed: its own message, then one outcome: saved, with what is missing.
        {"faults not read",
         [](App&, sim::SimModem& m, sim::SimCable&) {
             m.options().faults.rules.push_back({sim::ReplyFault::Silent, 25, 0});
         },
         "f.html", false, ReportSaveResult::SavedUnread,
         savedUnread + ": неисправности и уровень сигнала.",
         "<td class=\"caption\">Ошибка 12В</td><td>не считано</td>"},
        {"the modem gone", [](App&, sim::SimModem&, sim::SimCable& c) { c.setPresent(false); },
         "g.html", false, ReportSaveResult::SavedUnread, savedUnread,
         "<td class=\"caption\">Уровень сигнала</td><td>не считано</td>"},
        {"the voice call block lost by the read",
         [](App& a, sim::SimModem& m, sim::SimCable&) {
             m.options().faults.rules.push_back({sim::ReplyFault::NoOk, 17, 25});
             ASSERT_TRUE(readAndLogIn(a, 1, "1234"));
             m.options().faults.rules.clear();
         },
         "v.html", false, ReportSaveResult::SavedUnread, savedUnread + ": голосовой вызов.",
         "<td class=\"caption\">Громкость динамика</td><td>не считано</td>"},
        // A settings file open: the file's report, and the silent modem is not asked.
        {"a settings file open",
         [](App& a, sim::SimModem& m, sim::SimCable&) {
             a.source = {true, "/x/site.md2", "720451", "2.05"};
             m.options().faults.rules.push_back({sim::ReplyFault::Silent, 25, 0});
         },
         "s.html", false, ReportSaveResult::Saved, kTextReportSaved, "файл настроек site.md2"},
    };
    for (const SaveCase& c : cases) {
        SCOPED_TRACE(c.what);
        app.source = {};
        cable.setPresent(true);
        ASSERT_TRUE(readAndLogIn(app, 1, "1234"));
        modem.options().faults.rules.clear();
        c.before(app, modem, cable);
        dialogs.messages.clear();
        dialogs.fileNames = {c.name ? std::optional((dir / *c.name).string()) : std::nullopt};
        ReportWriters writers;
        if (c.withPdf)
            writers.pdf = [](const HandoverReport& r) {
                return "PDF of " + std::to_string(r.parts.size()) + " parts";
            };
        EXPECT_EQ(reportSettingsClick(app, nullptr, answers({HandoverRequest{}}), writers),
                  c.result);
        if (c.message.empty()) {
            EXPECT_TRUE(dialogs.messages.empty());
        } else {
            ASSERT_NE(lastMessage(), nullptr);
            EXPECT_EQ(lastMessage()->text.rfind(c.message, 0), 0u) << lastMessage()->text;
        }
        const auto bytes = c.name ? readFileUpTo((dir / *c.name).string(), 1 << 20) : std::nullopt;
        EXPECT_EQ(bytes.has_value(), c.holds != nullptr);
        if (bytes && c.holds) {
            EXPECT_NE(bytes->find(c.holds), std::string::npos);
        }
    }
    // Another operation holds the link: nothing is asked, nothing said.
    dialogs.messages.clear();
    asked.clear();
    const TModemLink::Lease lease(app.link);
    EXPECT_EQ(reportSettingsClick(app, &profile, answers({HandoverRequest{}}), {}),
              ReportSaveResult::Refused);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_TRUE(asked.empty());
}

// The dialog comes back as it was answered after a cancelled file dialog, and the next report
// starts from the installer's name of the last one (not the site, which is another object's).
TEST_F(ReportSaveTest, DialogRemembersTheInstallerAndComesBackAfterACancelledFileDialog) {
    ASSERT_TRUE(readAndLogIn(app, 1, "1234"));
    HandoverRequest typed;
    typed.installer = "И. Петров";
    typed.site = "Склад, ул. Северная 5";
    typed.withSecrets = true;
    dialogs.fileNames = {std::nullopt, (dir / "a.html").string()};
    EXPECT_EQ(reportSettingsClick(app, &profile, answers({typed, typed}), {}),
              ReportSaveResult::Saved);
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0].installer, "");
    EXPECT_EQ(asked[1].installer, "И. Петров");
    EXPECT_EQ(asked[1].site, "Склад, ул. Северная 5");
    EXPECT_TRUE(asked[1].withSecrets);
    EXPECT_NE(file("a.html").find("<td>И. Петров</td>"), std::string::npos);
    EXPECT_NE(file("a.html").find("<td>4951</td>"), std::string::npos);  // SIM 1's PIN shown

    // The next report, another visit: the name comes back from the configuration file.
    asked.clear();
    dialogs.fileNames = {(dir / "b.html").string()};
    EXPECT_EQ(reportSettingsClick(app, &profile, answers({}), {}), ReportSaveResult::Cancelled);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].installer, "И. Петров");
    EXPECT_EQ(asked[0].site, "");
    EXPECT_EQ(profile.readText(kProfileReportSection, kProfileReportInstaller, ""), "И. Петров");
    EXPECT_FALSE(std::filesystem::exists(dir / "b.html"));
}

// The report shows every user on the user page in turn; afterwards the page shows the user it
// showed before, so that "Записать" writes that user's values and no other's. Made twice.
TEST_F(ReportSaveTest, PutsThePageShownBackAndDatesTheRussianWay) {
    ASSERT_TRUE(readAndLogIn(app, 1, "1234"));
    TformMain& m = app.main;
    m.TreeView1.selected = 3;
    TreeView1Changing(app, 3);
    ASSERT_EQ(m.EditUserTel.text, "89261234567");
    m.EditUserTel.text = "89260000000";  // typed, not yet written
    for (const char* name : {"1.html", "2.html"}) {
        dialogs.fileNames = {(dir / name).string()};
        ASSERT_EQ(reportSettingsClick(app, nullptr, answers({HandoverRequest{}}), {}),
                  ReportSaveResult::Saved);
        EXPECT_EQ(m.EditUserTel.text, "89260000000");
        EXPECT_EQ(m.EditUserPassword.text, "0000");
        EXPECT_EQ(m.cbUserStatus.text, "Охранник");
        EXPECT_EQ(m.activePage, Page::TabSheet1);
        // 08.12.2026 07:15, whatever the locale says.
        const std::regex date(
            "<td>[0-3][0-9]\\.[01][0-9]\\.20[0-9][0-9] [0-2][0-9]:[0-5][0-9]</td>");
        EXPECT_TRUE(std::regex_search(file(name), date)) << file(name).substr(0, 1200);
    }
}

// The antenna check of this visit, in figures and as a picture; started again, only the new
// run counts.
TEST_F(ReportSaveTest, CarriesTheSignalMeterRunOfThisVisit) {
    ASSERT_TRUE(readAndLogIn(app, 1, "1234"));
    ReportWriters writers;
    writers.chartPicture = [](const LevelChart& chart) {
        return "chart of " + std::to_string(chart.points.size());
    };
    dialogs.fileNames = {(dir / "none.html").string()};
    ASSERT_EQ(reportSettingsClick(app, nullptr, answers({HandoverRequest{}}), writers),
              ReportSaveResult::Saved);
    EXPECT_EQ(file("none.html").find("Проверка антенны"), std::string::npos);

    // A minute and a half, the last two replies lost: no level now, two missed.
    modem.options().diagnostics.signalLevel = 31;
    ASSERT_TRUE(startSignalMeter(app, 1000));
    clock.advanceMs(88'500);
    modem.options().faults.rules.push_back({sim::ReplyFault::Silent, 25, 0});
    clock.advanceMs(2000);
    stopSignalMeter(app);
    modem.options().faults.rules.clear();
    dialogs.fileNames = {(dir / "first.html").string()};
    ASSERT_EQ(reportSettingsClick(app, nullptr, answers({HandoverRequest{}}), writers),
              ReportSaveResult::Saved);
    const std::string first =
        "<td class=\"caption\">Уровень сигнала</td><td>1 мин 30 с</td>"
        "<td>—</td><td>100%</td><td>100%</td><td>100%</td><td>2</td>";
    EXPECT_NE(file("first.html").find(first), std::string::npos) << file("first.html");

    // Started again: only the new run counts.
    ASSERT_TRUE(startSignalMeter(app, 1000));
    modem.options().diagnostics.signalLevel = 16;
    clock.advanceMs(2500);
    modem.options().diagnostics.signalLevel = 8;
    clock.advanceMs(2000);
    stopSignalMeter(app);
    dialogs.fileNames = {(dir / "meter.html").string()};
    ASSERT_EQ(reportSettingsClick(app, nullptr, answers({HandoverRequest{}}), writers),
              ReportSaveResult::Saved);
    const std::string html = file("meter.html");
    for (const char* row :
         {"<th>Длительность</th><th>Сейчас</th><th>Наименьший</th>"
          "<th>Наибольший</th><th>Средний</th><th>Пропущено ответов</th>",
          "<td class=\"caption\">Уровень сигнала</td><td>4 с</td><td>26%</td><td>26%</td>"
          "<td>52%</td><td>42%</td><td>0</td>",
          // "chart of 5" in base64
          "src=\"data:image/png;base64,Y2hhcnQgb2YgNQ==\""})
        EXPECT_NE(html.find(row), std::string::npos) << row;

    // Read again, the same modem keeps its run; another modem on the port has none of it.
    ASSERT_TRUE(readAndLogIn(app, 1, "1234"));
    dialogs.fileNames = {(dir / "again.html").string()};
    ASSERT_EQ(reportSettingsClick(app, nullptr, answers({HandoverRequest{}}), writers),
              ReportSaveResult::Saved);
    EXPECT_NE(file("again.html").find("Проверка антенны"), std::string::npos);
    memory(0x0224) = 8;  // the serial number's leading part: another modem, 8204518
    ASSERT_TRUE(readAndLogIn(app, 1, "1234"));
    dialogs.fileNames = {(dir / "other.html").string()};
    ASSERT_EQ(reportSettingsClick(app, nullptr, answers({HandoverRequest{}}), writers),
              ReportSaveResult::Saved);
    EXPECT_EQ(file("other.html").find("Проверка антенны"), std::string::npos);
}

// Heights of a part's title, heading row, rows and what stands under them, on pages 100 high;
// the plan as "page: part[t(itle) h(eading row) first-end a(fter)]".
struct PlanCase {
    const char* what;
    std::vector<PartMeasure> parts;
    const char* plan;
};

std::string planText(const PagePlan& plan) {
    std::string out;
    for (std::size_t page = 0; page < plan.size(); ++page) {
        out += (page ? " | " : "") + std::to_string(page + 1) + ":";
        for (const PageSlice& s : plan[page]) {
            out += " " + std::to_string(s.part) + "[" + (s.title ? "t" : "") + (s.head ? "h" : "") +
                   std::to_string(s.firstRow) + "-" + std::to_string(s.endRow) +
                   (s.after ? "a" : "") + "@" + std::to_string(static_cast<int>(s.top)) + "]";
        }
    }
    return out;
}

TEST(ReportPages, NoRowIsSplitAndAPartThatFitsAPageStartsOnOne) {
    const std::vector<PlanCase> cases = {
        {"all on one page", {{10, 0, {10, 10}, 0}, {10, 5, {10}, 20}}, "1: 0[t0-2@0] 1[th0-1a@30]"},
        {"filled to the last unit", {{10, 0, {40, 50}, 0}}, "1: 0[t0-2@0]"},
        {"a part that fits a page of its own starts on the next",
         {{0, 0, {60}, 0}, {10, 0, {10, 10, 10, 10}, 0}},
         "1: 0[t0-1@0] | 2: 1[t0-4@0]"},
        {"a longer one goes on with its heading row again",
         {{0, 0, {50}, 0}, {10, 10, {20, 20, 20, 20, 20}, 0}},
         "1: 0[t0-1@0] 1[th0-1@50] | 2: 1[h1-5@0]"},
        {"a title never alone at the foot",
         {{0, 0, {85}, 0}, {10, 5, {20, 20, 20, 20, 20}, 0}},
         "1: 0[t0-1@0] | 2: 1[th0-4@0] | 3: 1[h4-5@0]"},
        {"what stands under the rows moves on whole",
         {{10, 0, {30, 30}, 40}},
         "1: 0[t0-2@0] | 2: 0[2-2a@0]"},
        {"a part of a note alone",
         {{50, 0, {}, 10}, {10, 0, {}, 45}},
         "1: 0[t0-0a@0] | 2: 1[t0-0a@0]"},
    };
    for (const PlanCase& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(planText(planPages(c.parts, 100)), c.plan);
    }
}

}  // namespace
}  // namespace zelar::test
