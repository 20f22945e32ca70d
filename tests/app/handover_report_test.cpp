#include <unistd.h>
#include <algorithm>
#include <filesystem>
#include <functional>

#include "app/diagnostics/diagnostics_page.h"
#include "app/report/handover_report.h"
#include "app/report/save_report.h"
#include "app/service/settings_file_page.h"
#include "app/shell/login.h"
#include "files/file_io.h"
#include "sim_fixture.h"

namespace zelar::test {
namespace {

// One value of the report: who made it (user 0 for the modem's settings file), whether the
// secrets show, and what the part and row hold; a part that must be missing has no value, a
// note is looked up by its part alone.
struct ReportCase {
    int user;
    const char* password;
    bool secrets;
    const char* part;
    const char* caption;  // nullptr: the part's note
    const char* value;    // nullptr: the part is not in the report
};

// Who made the report, in the test's name.
void PrintTo(const ReportCase& c, std::ostream* out) {
    *out << (c.user == 0 ? "file" : "user " + std::to_string(c.user))
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
            EXPECT_TRUE(readAndLogIn(app, c.user, c.password));
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
    if (c.value == nullptr) {
        EXPECT_EQ(part, report.parts.end()) << c.part;
        return;
    }
    ASSERT_NE(part, report.parts.end()) << c.part;
    if (c.caption == nullptr) {
        EXPECT_NE(part->note.find(c.value), std::string::npos) << part->note;
        return;
    }
    const auto row = std::find_if(part->rows.begin(), part->rows.end(),
                                  [&](const ReportRow& r) { return r.caption == c.caption; });
    ASSERT_NE(row, part->rows.end()) << c.part << " / " << c.caption;
    EXPECT_EQ(row->value, c.value) << c.part << " / " << c.caption;
}

INSTANTIATE_TEST_SUITE_P(
    Pages, HandoverReportTest,
    ::testing::Values(
        ReportCase{1, "1234", false, "Идентификация", "Серийный номер", "7204518"},
        ReportCase{1, "1234", false, "Пользователь №1", "Пароль", "****"},
        ReportCase{1, "1234", true, "Пользователь №1", "Пароль", "1234"},
        ReportCase{1, "1234", false, "Пользователь №2", "Статус пользователя", "Хозяин"},
        ReportCase{1, "1234", false, "Пользователь №3", "Тип сообщения", "SMS для АРМ"},
        ReportCase{1, "1234", false, "Пользователь №3", "Телефон", "89261234567"},
        ReportCase{1, "1234", false, "Пользователь №4", "Разрешить тревожные сообщения", "да"},
        ReportCase{1, "1234", false, "Пользователь №4", "Разрешить сообщения о пожаре", "нет"},
        ReportCase{1, "1234", false, "Настройка SIM 1", "PIN", "****"},
        ReportCase{1, "1234", true, "Настройка SIM 1", "PIN", "4951"},
        ReportCase{1, "1234", false, "Настройка SIM 1", "PUK", "****"},
        ReportCase{1, "1234", false, "Настройка SIM 2", "Точка доступа: Пароль", "****"},
        ReportCase{1, "1234", true, "Настройка SIM 2", "Точка доступа: Пароль", "beeline"},
        ReportCase{1, "1234", false, "GPRS", "Авторизация: пароль", "****"},
        ReportCase{1, "1234", true, "GPRS", "Авторизация: пароль", "z2pass"},
        ReportCase{1, "1234", false, "GPRS", "Сервер резервный: DNS-имя", "reserve.example.ru"},
        ReportCase{1, "1234", false, "Параметры объекта", "Основной номер объекта", "1234"},
        ReportCase{1, "1234", false, "Параметры объекта", "Протокол", "RPI"},
        ReportCase{1, "1234", false, "Голосовой вызов", "Исходящий вызов: номер 2", "+79031112233"},
        ReportCase{1, "1234", false, "Сигнал и неисправности", "Ошибка 5В", "нет"},
        // "Хозяин": no modem pages, no "Мастер" users; "Охранник": only itself.
        ReportCase{2, "5678", false, "Настройка SIM 1", nullptr, nullptr},
        ReportCase{2, "5678", false, "Пользователь №1", nullptr, nullptr},
        ReportCase{2, "5678", false, "Пользователь №2", "Пароль", "****"},
        ReportCase{2, "5678", false, "Голосовой вызов", "Разрешить входящий вызов", "да"},
        ReportCase{3, "0000", false, "Голосовой вызов", nullptr, nullptr},
        ReportCase{3, "0000", false, "Пользователь №4", nullptr, nullptr},
        ReportCase{3, "0000", false, "Пользователь №3", "Пароль", "****"},
        // A settings file: every page it holds, what it cannot hold said.
        ReportCase{0, "", false, "Пользователь №1", "Пароль", "****"},
        ReportCase{0, "", true, "Настройка SIM 1", "PIN", "4951"},
        ReportCase{0, "", false, "Идентификация", "Серийный номер", "720451"},
        ReportCase{0, "", false, "Идентификация", nullptr, "не содержит идентификации"},
        ReportCase{0, "", false, "Сигнал и неисправности", nullptr, "не содержит уровня"},
        ReportCase{0, "", false, "Голосовой вызов", nullptr, nullptr}));

// How saving ends, each case from a modem read and logged in as user 1: the outcome, the last
// message and what the file then holds (nothing: no file).
struct SaveCase {
    const char* what;
    std::function<void(App&, sim::SimModem&)> before;
    std::optional<std::string> name;  // the file dialog's answer, in the test's folder
    bool withPdf;
    ReportSaveResult result;
    const char* message;
    const char* holds;
};

class ReportSaveTest : public SimFixture {};

TEST_F(ReportSaveTest, EndsAsTheCaseWants) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("zelar-report-" + std::to_string(::getpid()));
    const auto nothing = [](App&, sim::SimModem&) {};
    const std::vector<SaveCase> cases = {
        {"html", nothing, "r.html", false, ReportSaveResult::Saved, kTextReportSaved,
         "<h2>Сигнал и неисправности</h2>"},
        {"pdf by its writer", nothing, "r.PDF", true, ReportSaveResult::Saved, kTextReportSaved,
         "PDF of <!DOCTYPE html>"},
        {"pdf without a writer", nothing, "n.pdf", false, ReportSaveResult::Failed,
         "Этот выпуск программы не пишет PDF: сохраните отчёт как HTML", nullptr},
        {"dialog cancelled", nothing, std::nullopt, true, ReportSaveResult::Cancelled,
         "Пароль принят.Статус пользователя:Мастер", nullptr},
        {"a folder that is no folder", nothing, "r.html/x.html", false, ReportSaveResult::Failed,
         "Не могу записать файл", nullptr},
        {"no read", [](App& a, sim::SimModem&) { a.settingsRead = false; }, "r.html", false,
         ReportSaveResult::Refused, "Считайте настройки модема...", nullptr},
        // The fault read failed: its own message, and the report says so.
        {"faults not read",
         [](App&, sim::SimModem& m) {
             m.options().faults.rules.push_back({sim::ReplyFault::Silent, 25, 0});
         },
         "f.html", false, ReportSaveResult::Failed, "Нет связи с модемом",
         "Не удалось считать: нет связи с модемом."},
        // A settings file open: the file's report, and the silent modem is not asked.
        {"a settings file open",
         [](App& a, sim::SimModem& m) {
             a.source = {true, "/x/site.md2", "720451", "2.05"};
             m.options().faults.rules.push_back({sim::ReplyFault::Silent, 25, 0});
         },
         "s.html", false, ReportSaveResult::Saved, kTextReportSaved, "файл настроек site.md2"},
    };
    for (const SaveCase& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(dir);
        fs::create_directories(dir);
        app.source = {};
        ASSERT_TRUE(readAndLogIn(app, 1, "1234"));
        modem.options().faults.rules.clear();
        c.before(app, modem);
        dialogs.fileNames = {c.name ? std::optional((dir / *c.name).string()) : std::nullopt};
        const PdfWriter pdf = [](const std::string& html) { return "PDF of " + html; };
        EXPECT_EQ(reportSettingsClick(app, {}, c.withPdf ? pdf : PdfWriter()), c.result);
        ASSERT_NE(lastMessage(), nullptr);
        EXPECT_EQ(lastMessage()->text.rfind(c.message, 0), 0u) << lastMessage()->text;
        const auto bytes = c.name ? readFileUpTo((dir / *c.name).string(), 1 << 20) : std::nullopt;
        EXPECT_EQ(bytes.has_value(), c.holds != nullptr);
        if (bytes && c.holds) {
            EXPECT_NE(bytes->find(c.holds), std::string::npos);
        }
    }
    // Another operation holds the link: nothing is asked, nothing said.
    dialogs.messages.clear();
    const TModemLink::Lease lease(app.link);
    EXPECT_EQ(reportSettingsClick(app, {}, {}), ReportSaveResult::Refused);
    EXPECT_TRUE(dialogs.messages.empty());
    fs::remove_all(dir);
}

}  // namespace
}  // namespace zelar::test
