#include <gtest/gtest.h>

#include <tuple>

#include <QAbstractButton>
#include <QAction>
#include <QLineEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include "app/control_events.h"
#include "app/pages/gprs_rules.h"
#include "ui/qt_printers.h"
#include "ui/window_fixture.h"

// The rules every window keeps, whichever control or operation is at work.
namespace zelar::ui {
namespace {

class WindowRules : public test::Window {
  protected:
    void SetUp() override {
        ASSERT_TRUE(program->start());
        ASSERT_TRUE(QTest::qWaitForWindowActive(&program->mainWindow()));
    }
    // GPRS on with the server given by name, and the name empty: a field whose check keeps the
    // focus.
    static void emptyServerName(App& app) {
        app.main.CheckModemFlagGPRS.checked = app.main.RBtnDNS1.checked = true;
        applyGprsSwitch(app.main);
        RBtnDNSClick(app, 1);
        app.main.EditGPRSDNS1.text.clear();
    }
    // Runs `inside` in the archive window, with every button it has enabled as by a choice.
    void inArchiveWindow(const std::function<void(ArchiveWindow&)>& inside) {
        ArchiveWindow& archive = program->archiveWindow();
        TformArchive& form = program->app().archiveForm;
        form.BtnCompareVisits.enabled = form.BtnOpenVisit.enabled = true;
        QTimer::singleShot(0, &archive, [&] {
            EXPECT_TRUE(QTest::qWaitForWindowActive(&archive));
            inside(archive);
            archive.done(QDialog::Accepted);
        });
        program->app().services.dialogs.showModal(WindowId::Archive);
    }
    // Runs `inside` in the service window, its settings file buttons enabled as by a login.
    void inServiceWindow(const std::function<void(SetupWindow&)>& inside) {
        SetupWindow& setup = program->setupWindow();
        program->app().setup.BtnLoadPar.enabled = true;
        QTimer::singleShot(0, &setup, [&] {
            EXPECT_TRUE(QTest::qWaitForWindowActive(&setup));
            inside(setup);
            setup.done(QDialog::Accepted);
        });
        program->app().services.dialogs.showModal(WindowId::Setup);
    }
    // Runs `action`; each modal window but `except` that it opens meets `during`, then closes.
    static void duringModal(QWidget* except, const std::function<void()>& action,
                            const std::function<void(QWidget& modal)>& during) {
        QTimer closer;
        QObject::connect(&closer, &QTimer::timeout, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal != nullptr && modal != except) {
                during(*modal);
                modal->close();
            }
        });
        closer.start(20);
        action();
    }
    // Puts the page that holds `control` on view.
    static void showItsPage(QWidget& control) {
        for (QWidget* w = &control; w->parentWidget() != nullptr; w = w->parentWidget()) {
            if (auto* tabs = qobject_cast<QTabWidget*>(w->parentWidget()->parentWidget()))
                tabs->setCurrentWidget(w);
        }
    }
    static QAbstractButton& button(QWidget& window, const char* name) {
        return *window.findChild<QAbstractButton*>(name);
    }
    // The read holds the link while it shows "Не могу открыть порт".
    void duringRead(const std::function<void()>& during) {
        duringModal(
            nullptr, [&] { button(program->mainWindow(), "btnReadNastUser").click(); },
            [&](QWidget&) { during(); });
    }
};

TEST_F(WindowRules, TheFocusReturnsToTheButtonThatStartedAnOperation) {
    inServiceWindow([&](SetupWindow& setup) {
        QAbstractButton& load = button(setup, "BtnLoadPar");
        load.setFocus();
        // The file dialog is cancelled while the button is disabled.
        duringModal(
            &setup, [&] { QTest::keyClick(&load, Qt::Key_Space); }, [](QWidget&) {});
        EXPECT_EQ(setup.focusWidget(), &load);
    });
}

TEST_F(WindowRules, AWindowStaysOpenWhileItsOperationRuns) {
    MainWindow& main = program->mainWindow();
    duringRead([&] { EXPECT_FALSE(main.close()); });
    inServiceWindow([&](SetupWindow& setup) {
        duringModal(
            &setup, [&] { button(setup, "BtnLoadPar").click(); },
            [&](QWidget&) { EXPECT_FALSE(setup.close()); });
    });
    EXPECT_TRUE(main.close());
}

// The controls that start an operation or open a window, named here rather than taken from the
// event table that marks them: a mark dropped from the table shows below.
const std::vector<std::pair<FormId, std::vector<std::string_view>>> kStarters = {
    {FormId::Main,
     {"btnFindModem",       "btnReadNastUser", "ButtonApplyPassword", "EditPassword",
      "ButtonWriteNastr",   "BitBtnTest",      "MenuOpenFile",        "MenuNewFile",
      "MenuSaveAs",         "MenuWriteFile",   "MenuCompare",         "BitBtnSIM1HelpUSSD",
      "BitBtnSIM2HelpUSSD", "BtnResetSysObj",  "BitBtnReadBalance",   "BitBtnReadError",
      "MenuKeepArchive",    "MenuArchive",     "BtnArchiveChanges",   "BtnArchiveRevert"}},
    {FormId::Setup,
     {"btnWriteDict", "BtnReadDict", "BtnSavePar", "BtnLoadPar", "ButtonSetDefault", "ComBoxWorkAs",
      "BtnOpen", "SpBtnFlashMCU"}},
    {FormId::Archive, {"BtnCompareVisits", "BtnOpenVisit"}},
};

TEST_F(WindowRules, TheControlsThatStartAnOperationAreAllMarkedSo) {
    for (const auto& [form, names] : kStarters) {
        for (std::string_view name : names) {
            const ControlEvents* e = findControlEvents(form, name);
            ASSERT_NE(e, nullptr) << name;
            EXPECT_TRUE(e->startsOperation) << name;
        }
        for (const ControlEvents& e : controlEventTable()) {
            if (e.form == form && e.startsOperation) {
                EXPECT_NE(std::find(names.begin(), names.end(), e.name), names.end()) << e.name;
            }
        }
    }
}

// While an operation holds the link, every control that starts an operation or opens a window
// is clicked, pressed with Space and Enter, and none acts: no window opens, and a button or list
// looks disabled until the link is free again. So does the firmware's "Отмена", which abandons
// only its own wait.
TEST_F(WindowRules, NoControlStartsAnOperationOrOpensAWindowWhileOneHoldsTheLink) {
    App& app = program->app();
    app.settingsRead = true;  // "Пароль:" and "Применить пароль" would answer with a box
    for (int page = 0; page < kPageCount; ++page)
        app.main.page(Page(page)).tabVisible = true;
    app.main.BtnArchiveChanges.visible = app.main.BtnArchiveRevert.visible = true;
    const auto drive = [&](QWidget& window, FormId form, QWidget* except) {
        const auto& names = std::find_if(kStarters.begin(), kStarters.end(), [&](const auto& f) {
                                return f.first == form;
                            })->second;
        {
            const TModemLink::Lease operation(app.link);
            program->binder().pushAll();
            for (std::string_view name : names) {
                const ControlEvents& e = *findControlEvents(form, name);
                const QString qname = QString::fromUtf8(name.data(), name.size());
                auto* control = window.findChild<QWidget*>(qname);
                if (control == nullptr) {  // a menu entry
                    auto* action = window.findChild<QAction*>(qname);
                    ASSERT_NE(action, nullptr) << name;
                    QStringList opened;
                    duringModal(
                        except, [&] { action->trigger(); },
                        [&](QWidget& modal) { opened << modal.windowTitle(); });
                    EXPECT_EQ(opened, QStringList{}) << name;
                    EXPECT_FALSE(action->isEnabled()) << name;
                    continue;
                }
                showItsPage(*control);
                QStringList opened;
                duringModal(
                    except,
                    [&] {
                        QTest::mouseClick(control, Qt::LeftButton);
                        for (Qt::Key key : {Qt::Key_Space, Qt::Key_Return})
                            QTest::keyClick(control, key);
                    },
                    [&](QWidget& modal) { opened << modal.windowTitle(); });
                EXPECT_EQ(opened, QStringList{}) << name;
                if (e.click != nullptr || e.change != nullptr) {
                    EXPECT_FALSE(control->isEnabled()) << name;
                }
            }
            if (form == FormId::Setup) {
                EXPECT_FALSE(button(window, "BtnCancel").isEnabled());
            }
        }
        program->binder().pushAll();
        if (form == FormId::Setup) {
            EXPECT_TRUE(button(window, "BtnCancel").isEnabled());
        }
    };
    drive(program->mainWindow(), FormId::Main, nullptr);
    inServiceWindow([&](SetupWindow& setup) { drive(setup, FormId::Setup, &setup); });
    inArchiveWindow([&](ArchiveWindow& archive) { drive(archive, FormId::Archive, &archive); });
}

// A window opened now would hold the operation, and the port, until it closed.
TEST_F(WindowRules, KeysOpenNoWindowWhileAnOperationHoldsTheLink) {
    App& app = program->app();
    MainWindow& main = program->mainWindow();
    {
        const TModemLink::Lease operation(app.link);
        program->binder().pushAll();
        QWidget* focused = main.focusWidget() != nullptr ? main.focusWidget() : &main;
        for (const auto& [key, modifiers] :
             {std::pair{Qt::Key_7, Qt::ControlModifier | Qt::AltModifier},
              std::pair{Qt::Key_F11, Qt::KeyboardModifiers(Qt::ControlModifier)}}) {
            EXPECT_EQ(modalsDuring([&] { QTest::keyClick(focused, key, modifiers); }),
                      QStringList{});
        }
    }
    // "Восстановить заводские настройки" had the focus; the window's default button is
    // "Открыть файл".
    inServiceWindow([&](SetupWindow& setup) {
        QAbstractButton& restore = button(setup, "ButtonSetDefault");
        restore.setFocus();
        const TModemLink::Lease operation(app.link);
        program->binder().pushAll();
        ASSERT_FALSE(restore.isEnabled());
        int opened = 0;
        duringModal(
            &setup, [&] { QTest::keyClick(&setup, Qt::Key_Return); }, [&](QWidget&) { ++opened; });
        EXPECT_EQ(opened, 0);
    });
}

// Qt's own button texts are Russian; a box is as wide as its whole caption, and an empty
// caption stays empty where the platforms would put the program's name.
TEST_F(WindowRules, BoxesSpeakRussianAndShowTheirWholeCaption) {
    QFont bold = QApplication::font();
    bold.setBold(true);
    const std::tuple<const char*, MessageButtons, QStringList> boxes[] = {
        {"Восстановление настроек", MessageButtons::YesNo, {"Да", "Нет"}},
        {"", MessageButtons::YesNo, {"Да", "Нет"}},
        {"Модем", MessageButtons::YesNoCancel, {"Да", "Нет", "Отмена"}},
    };
    for (const auto& [caption, buttons, names] : boxes) {
        duringModal(
            nullptr,
            [&] {
                program->app().services.dialogs.messageBox("?", caption, MessageIcon::Question,
                                                           buttons);
            },
            [&](QWidget& box) {
                QStringList texts;
                for (const QAbstractButton* b : box.findChildren<QAbstractButton*>())
                    texts << b->text().remove('&');
                texts.sort();
                QStringList wanted = names;
                wanted.sort();
                EXPECT_EQ(texts, wanted);
                EXPECT_GE(box.width(), QFontMetrics(bold).horizontalAdvance(caption) + 100);
                EXPECT_EQ(box.windowTitle(), *caption != 0 ? caption : " ");
            });
    }
}

// Closing the window with an edited page asks first: "Отмена" keeps the window and the edit,
// closing the box does the same, "Нет" closes.
TEST_F(WindowRules, AWindowWithEditsAsksBeforeClosing) {
    App& app = program->app();
    app.settingsRead = true;
    app.login = {true, kRoleMaster, 1};
    app.image.users[0].status = kRoleMaster;
    app.main.TreeView1.selected = 1;
    findControlEvents(FormId::Main, "TreeView1")->change(app);
    app.main.EditUserTel.text = "+79990000004";
    MainWindow& main = program->mainWindow();
    const auto press = [](const char* name) {
        return [name](QWidget& box) {
            for (QAbstractButton* b : box.findChildren<QAbstractButton*>()) {
                if (b->text().remove('&') == name)
                    b->click();
            }
        };
    };
    int asked = 0;
    const auto answer = [&](const char* name) {
        return [&, name](QWidget& box) {
            ++asked;
            press(name)(box);
        };
    };
    duringModal(
        nullptr, [&] { EXPECT_FALSE(main.close()); }, answer("Отмена"));
    duringModal(
        nullptr, [&] { EXPECT_FALSE(main.close()); }, [&](QWidget&) { ++asked; });
    EXPECT_EQ(app.main.EditUserTel.text, "+79990000004");
    duringModal(
        nullptr, [&] { EXPECT_TRUE(main.close()); }, answer("Нет"));
    EXPECT_EQ(asked, 3);
    EXPECT_EQ(app.main.EditUserTel.text, "");
}

TEST_F(WindowRules, AnotherWindowOpeningIsNoLeavingOfAField) {
    App& app = program->app();
    emptyServerName(app);
    struct Row {
        Page page;
        const char* field;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
    };
    for (const Row& row : {Row{Page::TabSheetECall, "EditECallMic", Qt::Key_F11,
                               Qt::ControlModifier},  // the log window
                           Row{Page::TabSheet5, "EditGPRSDNS1", Qt::Key_7,
                               Qt::ControlModifier | Qt::AltModifier}}) {  // the service window
        app.main.page(row.page).tabVisible = true;
        app.main.activePage = row.page;
        program->binder().pushAll();
        program->mainWindow().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&program->mainWindow()));
        auto& field = widget<QLineEdit>(row.field);
        field.setFocus();
        int opened = 0;
        duringModal(
            nullptr, [&] { QTest::keyClick(&field, row.key, row.modifiers); },
            [&](QWidget&) { ++opened; });
        EXPECT_EQ(opened, 1) << row.field;
    }
}

// The GPRS check keeps the focus in the empty server name whichever way the user leaves: a
// click on another tab, on a node of the tree, an Alt letter of "Записать". The page, the
// node and the field stay, so that what is typed next lands where the user can see it.
TEST_F(WindowRules, AFieldThatKeepsTheFocusKeepsItsPage) {
    App& app = program->app();
    emptyServerName(app);
    for (Page page : {Page::TabSheet2, Page::TabSheet5, Page::TabSheetTests})
        app.main.page(page).tabVisible = true;
    app.main.TreeView1.selected = kNodeModem;
    MainWindow& main = program->mainWindow();
    auto& field = widget<QLineEdit>("EditGPRSDNS1");
    auto& tabs = widget<QTabWidget>("PageControl1");
    auto& tree = widget<QTreeWidget>("TreeView1");
    QTabBar& bar = *tabs.tabBar();
    const auto inWindow = [&](QWidget& w, QPoint at) { return w.mapTo(&main, at); };
    const std::vector<std::pair<const char*, std::function<void()>>> ways = {
        {"tab",
         [&] {
             QTest::mouseClick(main.windowHandle(), Qt::LeftButton, {},
                               inWindow(bar, bar.tabRect(int(Page::TabSheet2)).center()));
         }},
        {"tree",
         [&] {
             const QRect node =
                 tree.visualItemRect(tree.topLevelItem(tree.topLevelItemCount() - 1));
             QTest::mouseClick(main.windowHandle(), Qt::LeftButton, {},
                               inWindow(*tree.viewport(), node.center()));
         }},
        {"Alt letter",
         [&] {
             QTest::sendKeyEvent(QTest::Click, &field, Qt::Key(QChar(u'З').unicode()),
                                 QStringLiteral("з"), Qt::AltModifier);
         }},
    };
    for (const auto& [way, leave] : ways) {
#ifdef _WIN32
        // Under wine the clicks sent to the tab bar and the tree reach neither (not understood
        // yet); the Alt letter is tried there.
        if (std::string(way) != "Alt letter")
            continue;
#endif
        app.main.activePage = Page::TabSheet5;
        program->binder().pushAll();
        main.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
        field.setFocus();
        const QStringList boxes = modalsDuring([&] {
            leave();
            QApplication::processEvents();
        });
        EXPECT_EQ(boxes, QStringList{"Модем: Введите IP-адреса DNS-серверов"}) << way;
        EXPECT_EQ(tabs.currentWidget(), &widget<QWidget>("TabSheet5")) << way;
        EXPECT_EQ(main.focusWidget(), &field) << way;
        EXPECT_EQ(app.main.activePage, Page::TabSheet5) << way;
        EXPECT_EQ(app.main.TreeView1.selected, kNodeModem) << way;
    }
}

}  // namespace
}  // namespace zelar::ui
