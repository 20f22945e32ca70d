#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "app/file_session/file_menu.h"
#include "app/pages/settings_file_store.h"
#include "app/sim_fixture.h"
#include "files/file_io.h"
#include "script/script_parser.h"
#include "script/script_runner.h"
#include "sim/fault_plan.h"
#include "sim/virtual_clock.h"

namespace zelar {
namespace {

using Words = std::vector<std::string>;

TEST(ScriptParser, SplitsWordsAndKeepsQuotedBlanks) {
    const struct {
        std::string line;
        Words words;
    } cases[] = {
        {"click  ButtonWriteNastr\t", {"click", "ButtonWriteNastr"}},
        {R"(set EditSim1APN "internet mts")", {"set", "EditSim1APN", "internet mts"}},
        {R"(set EditUserTel "")", {"set", "EditUserTel", ""}},
        {R"(set X "  a  ")", {"set", "X", "  a  "}},
        {R"(set X "say \"hi\" \\ \n")", {"set", "X", R"(say "hi" \ \n)"}},
        {R"(set X a"b)", {"set", "X", "a\"b"}},
    };
    for (const auto& c : cases) {
        std::string error;
        const auto words = splitScriptWords(c.line, error);
        ASSERT_TRUE(words) << c.line << ": " << error;
        EXPECT_EQ(*words, c.words) << c.line;
    }
}

TEST(ScriptParser, SkipsBlankAndCommentLines) {
    // Not UTF-8 ("\xE8" stands alone), so Windows-1251.
    const ParsedScript s =
        parseScript("# read first\r\n\n   \n  # indented\nwait 10\r\ndump \xE8\xFF\n");
    ASSERT_FALSE(s.error);
    ASSERT_EQ(s.lines.size(), 2u);
    EXPECT_EQ(s.lines[0].number, 5);
    EXPECT_EQ(s.lines[0].action, ScriptAction::Wait);
    EXPECT_EQ(s.lines[1].args, Words{"ия"});
}

TEST(ScriptParser, RefusesBadLinesNamingTheFirst) {
    const struct {
        std::string script;
        int line;
        std::string message;
    } cases[] = {
        {"dump\nfrob X", 2, "unknown action 'frob'"},
        {"set X", 1, "expected 'set CONTROL TEXT'"},
        {"click A B", 1, "expected 'click CONTROL'"},
        {"expect X", 1, "expected 'expect CONTROL VALUE'"},
        {R"(set X "abc)", 1, "a quote is not closed"},
        {R"(set X "a"b)", 1, "a blank must follow a closing quote"},
        {"check X 2", 1, "check needs 0 or 1"},
        {"key X Tab", 1, "key knows only Enter"},
        {"answer Maybe", 1, "answer needs Yes, No, OK, Cancel or Retry"},
        {"wait -5", 1, "wait needs milliseconds"},
        {"wait 60000\nwait 60001", 2, "wait takes at most 60000 ms"},
        {"port 3", 1, "port needs a port such as COM3"},
        {"\"set\" X", 1, "expected 'set CONTROL TEXT'"},
    };
    for (const auto& c : cases) {
        const ParsedScript s = parseScript(c.script);
        ASSERT_TRUE(s.error) << c.script;
        EXPECT_EQ(s.error->line, c.line) << c.script;
        EXPECT_EQ(s.error->message, c.message) << c.script;
        EXPECT_TRUE(s.lines.empty());
    }
}

TEST(ScriptParser, TakesAnyBytes) {
    std::string bytes;
    for (int i = 0; i < 4096; ++i)
        bytes += static_cast<char>((i * 7919) % 256);
    for (std::size_t cut = 0; cut < bytes.size(); cut += 97)
        parseScript(std::string_view(bytes).substr(cut));
}

// The runner on an App of its own, wired to the same simulated modem as the fixture's.
class ScriptRun : public test::SimFixture {
  protected:
    ScriptRun() {
        FormShow(app2, &profile2);
        selectItemText(app2.main.ComboBox1, "COM1");
    }

    // Checks and runs a script as the command line does; the exit status.
    int run(const std::string& text) {
        const ParsedScript s = parseScript(text);
        EXPECT_FALSE(s.error) << s.error->message;
        if (const auto e = runner.checkNames(s.lines)) {
            err << "line " << e->line << ": " << e->message << '\n';
            return 2;
        }
        return runner.run(s.lines);
    }

    std::ostringstream out;
    std::ostringstream err;
    ScriptDialogs scriptDialogs{err, false};
    MemoryProfile profile2;
    App app2{Services{port, clock, scriptDialogs, devices}};
    ScriptRunner runner{app2, scriptDialogs, out, err};
};

TEST_F(ScriptRun, UnknownControlStopsBeforeAnythingRuns) {
    EXPECT_EQ(run("click btnReadNastUser\ndump NoSuchControl"), 2);
    EXPECT_EQ(err.str(), "line 2: unknown control 'NoSuchControl'\n");
    EXPECT_EQ(modem.commandsSeen(), 0);
    EXPECT_FALSE(app2.settingsRead);
}

TEST_F(ScriptRun, RefusesWhatAPersonCouldNotDo) {
    const std::string toSim =
        "select TreeView1 \"Настройка модема\"\nselect PageControl1 \"Настройка SIM-карт\"\n";
    const struct {
        std::string script;
        std::string error;
    } cases[] = {
        {toSim + "set EditSIM1USSD 1", "line 3: EditSIM1USSD is disabled\n"},
        {toSim + "check CheckBoxSim1Vkl 0", "line 3: CheckBoxSim1Vkl is hidden\n"},
        {toSim + "set EditUserTel 1", "line 3: EditUserTel is not on the page on view\n"},
        {toSim + "select cbExpert Пользователь\nset EditSim1Pin1 1",
         "line 4: EditSim1Pin1 is inside PanelExpert4, which is hidden\n"},
        {"select TreeView1 \"#1\"\nselect cbExpert Пользователь\nselect cbUserStatus Мастер",
         "line 3: cbUserStatus is inside PanelExpert1, which is hidden\n"},
        {"check RadioMts 1", "line 1: RadioMts is not in the window that has the input\n"},
        {"select PageControl1 Диагностика", "line 1: PageControl1 shows no tab \"Диагностика\"\n"},
        {"select TreeView1 \"#7\"", "line 1: TreeView1 has no node \"#7\"\n"},
        {"click EditPassword", "line 1: EditPassword is not a button\n"},
        {"set EditIMEI 1", "line 1: EditIMEI is read-only\n"},
    };
    ASSERT_TRUE(runner.logIn(1, "1234"));
    for (const auto& c : cases) {
        err.str("");
        EXPECT_EQ(run(c.script), 2) << c.script;
        EXPECT_EQ(err.str(), c.error) << c.script;
    }
}

TEST_F(ScriptRun, RadioButtonsExcludeEachOtherAndCannotBeUnchecked) {
    ASSERT_TRUE(runner.logIn(1, "1234"));
    err.str("");
    EXPECT_EQ(run("select TreeView1 \"#1\"\ncheck RBtnSMSifNoGPRS 1\nexpect RBtnSMSalways 0\n"
                  "check RBtnSMSalways 1\nexpect RBtnSMSifNoGPRS 0\ncheck RBtnSMSalways 0"),
              2)
        << err.str();
    EXPECT_EQ(err.str(),
              "line 6: RBtnSMSalways is a radio button: check another one of its group\n");
}

TEST_F(ScriptRun, TypingFollowsTheKeyFilterAndTheFocusFollowsRequests) {
    EXPECT_EQ(run("click btnReadNastUser"), 0) << err.str();
    // The read asks for the focus on the password field.
    EXPECT_EQ(runner.focused(), "EditPassword");
    // The password field stops at four characters and no key types BEL; the phone field takes
    // digits and '+' only.
    EXPECT_EQ(run("select cbUser 1\nset EditPassword \"12\a3456\"\nexpect EditPassword 1234\n"
                  "key EditPassword Enter\nexpect StatusBar1 \"Пароль принят\"\n"
                  "select TreeView1 \"#1\"\nset EditUserTel \"+7 (903) 555-00-03 ext 9\"\n"
                  "expect EditUserTel +79035550003"),
              0)
        << err.str();
    EXPECT_TRUE(app2.login.loggedIn);
}

// Values filled in from a table must reach the modem as given, not as the field's keys take them.
TEST_F(ScriptRun, ExactValuesRefuseWhatTheFieldWouldChange) {
    const std::string kSimPage =
        "select TreeView1 \"Настройка модема\"\nselect PageControl1 \"Настройка SIM-карт\"\n"
        "check AutoSetPar1 0\n";
    runner.setExactValues(true);
    ASSERT_TRUE(runner.logIn(1, "1234"));
    const struct {
        std::string script;
        int status;
        const char* error;
    } cases[] = {
        {"select TreeView1 \"#1\"\nset EditUserTel +7903", 0, ""},
        {"select TreeView1 \"#1\"\nset EditUserTel 1,13", 2,
         "line 2: EditUserTel would take \"1,13\" as \"113\""},
        {"select cbUser 1\nset EditPassword 123456", 2,
         "line 2: EditPassword would take \"123456\" as \"1234\""},
        {"select cbUser 1\nset EditPassword \"1\a2\"", 2,
         "line 2: EditPassword would take \"1\a2\" as \"12\""},
        {"select cbUser 1\nset EditPassword \"ab\xE4\xB8\xAD\"", 2,
         "line 2: EditPassword would hold \"ab\xE4\xB8\xAD\" as \"ab?\""},
        // The modem gives a text back up to its first blank.
        {kSimPage + "set EditSim1APN internet.mts.ru", 0, ""},
        {kSimPage + "set EditSim1APN \" x\"", 2,
         "line 4: EditSim1APN would hold \" x\" as \"\": the modem gives a text back up to its "
         "first blank"},
        {kSimPage + "set EditSim1APN \"a b\"", 2,
         "line 4: EditSim1APN would hold \"a b\" as \"a\""},
        {kSimPage + "set EditSim1APN \"ab \"", 2,
         "line 4: EditSim1APN would hold \"ab \" as \"ab\""},
    };
    for (const auto& c : cases) {
        err.str("");
        EXPECT_EQ(run(c.script), c.status) << c.script;
        EXPECT_EQ(err.str().substr(0, std::string(c.error).size()), c.error) << err.str();
    }
}

TEST_F(ScriptRun, OperatorDialogAndLeavingTheGprsGroup) {
    ASSERT_TRUE(runner.logIn(1, "1234"));
    err.str("");
    EXPECT_EQ(run("select TreeView1 \"Настройка модема\"\n"
                  "select PageControl1 \"Настройка SIM-карт\"\n"
                  "check AutoSetPar2 0\nclick BitBtnSIM2HelpUSSD\ncheck RadioUtel 1\n"
                  "click ButtonUSSDOperator\nexpect EditSIM2USSD 102\nexpect EditSim2NAME \"\"\n"
                  "select PageControl1 \"Настройка GPRS\"\ncheck CheckModemFlagGPRS 1\n"
                  "check RBtnDNS1 1\nset EditGPRSDNS2 \"\"\nselect cbExpert Эксперт"),
              0)
        << err.str();
    EXPECT_EQ(err.str(), "[Модем] Введите IP-адреса DNS-серверов\n");
    EXPECT_EQ(runner.focused(), "EditGPRSDNS2");
}

TEST_F(ScriptRun, ExpectMismatchStopsWithStatusOne) {
    ASSERT_TRUE(runner.logIn(1, "1234"));
    err.str("");
    EXPECT_EQ(run("select TreeView1 \"#1\"\nexpect EditUserTel +70000000000\ndump EditUserTel"), 1);
    EXPECT_EQ(err.str(), "line 2: EditUserTel is \"+79161234567\", expected \"+70000000000\"\n");
    EXPECT_EQ(out.str(), "");
}

TEST_F(ScriptRun, AFailedOperationStopsTheScriptWithStatusOne) {
    const struct {
        int user;  // 0: the script reads without a login
        std::string password;
        bool silent;
        std::string script;
        std::string error;
    } cases[] = {
        // The write's rights, the login's check, the navigation's rights, the link.
        {0, "", false, "click btnReadNastUser\nclick ButtonWriteNastr",
         "line 2: ButtonWriteNastr: the operation failed"},
        {0, "", false, "select cbUser 1\nset EditPassword 9999\nkey EditPassword Enter",
         "line 3: EditPassword: the operation failed"},
        {3, "0000", false, "select TreeView1 \"Настройка модема\"",
         "line 1: TreeView1: the operation failed"},
        {1, "1234", true, "select TreeView1 \"#3\"\nclick ButtonWriteNastr",
         "line 2: ButtonWriteNastr: the operation failed"},
    };
    for (const auto& c : cases) {
        if (c.user != 0) {
            ASSERT_TRUE(runner.logIn(c.user, c.password)) << c.script;
        }
        if (c.silent)
            modem.options().faults.rules.push_back(*sim::parseFaultRule("silent"));
        err.str("");
        out.str("");
        // The line after the failure never runs.
        EXPECT_EQ(run(c.script + "\ndump StatusBar1"), 1) << c.script;
        EXPECT_TRUE(err.str().ends_with(c.error + "\n")) << err.str();
        EXPECT_EQ(out.str(), "") << c.script;
    }
}

TEST_F(ScriptRun, DumpAndExpectSeeOnlyThePagesTheLoginMayOpen) {
    const struct {
        int user;  // 0: read without a login
        std::string password;
        std::string script;
        int status;
    } cases[] = {
        {0, "", "dump EditUserPassword", 2},
        {0, "", "expect EditSim1Pin1 4951", 2},
        {3, "0000", "dump EditSim1Pin1", 2},
        {3, "0000", "dump EditGPRSPass", 2},
        {3, "0000", "select TreeView1 \"#1\"\ndump EditUserPassword", 1},
        {3, "0000", "select TreeView1 \"#3\"\ndump EditUserPassword", 0},
        {1, "1234", "dump EditSim1Pin1", 0},
    };
    // Without a login, dumping the whole window leaves out every page.
    EXPECT_EQ(run("click btnReadNastUser\ndump"), 0);
    EXPECT_NE(out.str().find("StatusBar1: "), std::string::npos) << out.str();
    EXPECT_EQ(out.str().find("EditUserPassword"), std::string::npos) << out.str();
    EXPECT_EQ(out.str().find("EditSim1Pin1"), std::string::npos) << out.str();
    for (const auto& c : cases) {
        if (c.user == 0) {
            ASSERT_EQ(run("click btnReadNastUser"), 0) << err.str();
        } else {
            ASSERT_TRUE(runner.logIn(c.user, c.password));
        }
        err.str("");
        EXPECT_EQ(run(c.script), c.status) << c.script << ": " << err.str();
        if (c.status == 2) {
            EXPECT_TRUE(err.str().ends_with(" is hidden\n")) << err.str();
        }
    }
}

// With a settings file open the script works on it as the window does: "Записать" stores into
// the file, and what needs a modem is refused without a byte sent.
TEST_F(ScriptRun, WorksOnAnOpenSettingsFile) {
    const std::string path = ::testing::TempDir() + "zelar-script-file.md2";
    ASSERT_TRUE(runner.logIn(1, "1234"));
    ASSERT_TRUE(writeFileReplacing(path, composeSettingsFile(settingsFileContent(app2))).empty());
    ASSERT_TRUE(openSettingsFile(app2, path));
    ASSERT_TRUE(runner.logIn(1, "1234"));
    const int seen = modem.commandsSeen();
    const struct {
        std::string script;
        int status;
        std::string error;
    } cases[] = {
        {"select TreeView1 \"#2\"\nset EditUserTel +79035550003\nclick ButtonWriteNastr\n"
         "expect StatusBar1 \"Настройки записаны в файл\"",
         0, ""},
        {"select TreeView1 Диагностика\nclick BitBtnTest", 1,
         "line 2: BitBtnTest: the operation failed\n"},
        {"select TreeView1 \"Голосовой вызов\"", 1, "line 1: TreeView1: the operation failed\n"},
    };
    for (const auto& c : cases) {
        err.str("");
        EXPECT_EQ(run(c.script), c.status) << c.script << err.str();
        EXPECT_TRUE(err.str().ends_with(c.error)) << err.str();
    }
    EXPECT_EQ(modem.commandsSeen(), seen);
    SettingsFileContent stored;
    ASSERT_TRUE(parseSettingsFile(*readFileUpTo(path, kSettingsFileLimit), stored));
    EXPECT_EQ(stored.image.users[1].phone, "+79035550003");
}

// Told to stop (a signal to the command line), a script ends its wait within a tenth of a second
// and runs no further line; once the stop is lifted the same runner runs whole scripts again.
TEST_F(ScriptRun, ToldToStopItEndsItsWaitAndRunsNoFurtherLine) {
    bool stop = false;
    runner.setStopWhen([&] { return stop; });
    const struct {
        int stopAtMs;  // -1: told before the script starts
        std::string script;
        std::string error;
        int endsAtMs;  // the first tenth of a second of the wait after the stop
    } cases[] = {
        {250, "wait 60000\ndump StatusBar1", "line 1: Прервано\n", 300},
        {1250, "wait 1000\nwait 60000\ndump StatusBar1", "line 2: Прервано\n", 1300},
        {-1, "dump StatusBar1", "line 1: Прервано\n", 0},
        // A stop within the last slice of a wait is seen before the next line.
        {1050, "wait 1000\ndump StatusBar1\nwait 100\ndump StatusBar1", "line 4: Прервано\n", 1100},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.script);
        stop = c.stopAtMs < 0;
        if (!stop)
            clock.startTimer(c.stopAtMs, [&] { stop = true; });
        err.str("");
        out.str("");
        const std::int64_t start = clock.tickMs();
        EXPECT_EQ(run(c.script), 1);
        EXPECT_EQ(err.str(), c.error);
        EXPECT_EQ(clock.tickMs() - start, c.endsAtMs);
        EXPECT_EQ(out.str().find("StatusBar1") != std::string::npos, c.stopAtMs == 1050);
    }
    stop = false;
    const std::int64_t start = clock.tickMs();
    EXPECT_EQ(run("wait 1500\ndump StatusBar1"), 0);
    EXPECT_EQ(clock.tickMs() - start, 1500);
}

TEST(ScriptDialogsRetry, EachRetryWaitsFirstAndTheLastAnswerCancels) {
    sim::VirtualClock clock;
    std::ostringstream out;
    ScriptDialogs dialogs(out, false);
    dialogs.setRetries(2, clock, 1000);
    const auto ask = [&] {
        return dialogs.messageBox("Нет связи с модемом", "Модем", MessageIcon::Error,
                                  MessageButtons::RetryCancel);
    };
    std::int64_t before = clock.tickMs();
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(ask(), MessageResult::Retry);
        EXPECT_GE(clock.tickMs() - before, 1000);
        before = clock.tickMs();
    }
    EXPECT_EQ(ask(), MessageResult::Cancel);
    EXPECT_EQ(clock.tickMs(), before);
    // One line for each attempt.
    EXPECT_EQ(out.str(),
              "[Модем] Нет связи с модемом\n[Модем] Нет связи с модемом\n"
              "[Модем] Нет связи с модемом\n");
}

TEST(ScriptDialogs, ABoxWithoutCaptionIsItsTextAlone) {
    std::ostringstream out;
    ScriptDialogs dialogs(out, false);
    dialogs.messageBox("Запись завершена успешно", "", MessageIcon::None, MessageButtons::Ok);
    EXPECT_EQ(out.str(), "Запись завершена успешно\n");
}

}  // namespace
}  // namespace zelar
