#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QFontMetrics>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "app/control_events.h"
#include "app/gprs_rules.h"
#include "ui/qt_printers.h"
#include "ui/window_fixture.h"

// The rules every window keeps, whichever control or operation is at work: focus, closing,
// controls that take the link, Qt's own texts, captions, leaving a field.
namespace zelar::ui {
namespace {

class WindowRules : public test::Window {
  protected:
    void SetUp() override {
        ASSERT_TRUE(program->start());
        ASSERT_TRUE(QTest::qWaitForWindowActive(&program->mainWindow()));
    }

    // Shows the service window with its settings file buttons, as a login makes them, and runs
    // `inside` once it is up; the window closes afterwards.
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

    // Calls `during` on each modal window other than `except` that opens while `action` runs,
    // then closes it.
    static void duringModal(QWidget* except, const std::function<void()>& action,
                            const std::function<void(QWidget& modal)>& during) {
        QTimer closer;
        QObject::connect(&closer, &QTimer::timeout, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal == nullptr || modal == except)
                return;
            during(*modal);
            modal->close();
        });
        closer.start(20);
        action();
    }

    static QPushButton& button(QWidget& window, const char* name) {
        auto* found = window.findChild<QPushButton*>(name);
        EXPECT_NE(found, nullptr) << name;
        return *found;
    }
};

TEST_F(WindowRules, TheFocusReturnsToTheButtonThatStartedAnOperation) {
    QWidget* focusAfter = nullptr;
    inServiceWindow([&](SetupWindow& setup) {
        QPushButton& load = button(setup, "BtnLoadPar");
        load.setFocus();
        // The file dialog is cancelled while the button is disabled.
        duringModal(
            &setup, [&] { QTest::keyClick(&load, Qt::Key_Space); }, [](QWidget&) {});
        focusAfter = setup.focusWidget();
    });
    EXPECT_EQ(focusAfter, &button(program->setupWindow(), "BtnLoadPar"));
}

TEST_F(WindowRules, AWindowStaysOpenWhileItsOperationRuns) {
    MainWindow& main = program->mainWindow();
    bool mainStayed = false;
    // The read shows "Не могу открыть порт" before it ends.
    duringModal(
        nullptr, [&] { button(main, "btnReadNastUser").click(); },
        [&](QWidget&) { mainStayed = !main.close() && main.isVisible(); });
    EXPECT_TRUE(mainStayed);

    bool setupStayed = false;
    inServiceWindow([&](SetupWindow& setup) {
        duringModal(
            &setup, [&] { button(setup, "BtnLoadPar").click(); },
            [&](QWidget&) {
                setup.reject();
                setupStayed = setup.isVisible();
            });
    });
    EXPECT_TRUE(setupStayed);

    EXPECT_TRUE(main.close());
}

TEST_F(WindowRules, ControlsThatTakeTheLinkLookDisabledWhileAnotherOperationHoldsIt) {
    App& app = program->app();
    std::vector<QWidget*> controls;
    for (const ControlEvents& events : controlEventTable()) {
        QWidget& window = events.form == FormId::Main
                              ? static_cast<QWidget&>(program->mainWindow())
                              : static_cast<QWidget&>(program->setupWindow());
        if (events.takesLink && events.name != "btnReadNastUser")
            controls.push_back(window.findChild<QWidget*>(
                QString::fromUtf8(events.name.data(), static_cast<qsizetype>(events.name.size()))));
    }
    ASSERT_GE(controls.size(), 10u);
    program->binder().pushAll();
    const auto enabled = [&] {
        std::vector<bool> states;
        for (QWidget* control : controls)
            states.push_back(control->isEnabled());
        return states;
    };
    const std::vector<bool> before = enabled();

    std::vector<bool> during;
    duringModal(
        nullptr, [&] { button(program->mainWindow(), "btnReadNastUser").click(); },
        [&](QWidget&) {
            ASSERT_TRUE(app.link.busy());
            during = enabled();
        });
    EXPECT_EQ(during, std::vector<bool>(controls.size(), false));
    EXPECT_EQ(enabled(), before);
    EXPECT_TRUE(app.main.BitBtnTest.enabled);  // the models keep their own state
}

TEST_F(WindowRules, QtsOwnButtonsSpeakRussian) {
    QStringList texts;
    duringModal(
        nullptr,
        [&] {
            program->app().services.dialogs.messageBox("?", "Модем", MessageIcon::Question,
                                                       MessageButtons::YesNo);
        },
        [&](QWidget& box) {
            for (const QAbstractButton* b : box.findChildren<QAbstractButton*>())
                texts << b->text().remove('&');
        });
    texts.sort();
    EXPECT_EQ(texts, (QStringList{"Да", "Нет"}));
}

TEST_F(WindowRules, BoxesAndWindowsShowTheirWholeCaptionAndAnEmptyOneStaysEmpty) {
    QFont bold = QApplication::font();
    bold.setBold(true);
    struct Row {
        std::string caption;
        std::string text;
    };
    for (const Row& row :
         {Row{"Модем", "Тест выполнен"}, Row{"Восстановление настроек", "Настройки записаны"},
          Row{"", "Запись завершена успешно"}}) {
        QString title;
        int width = 0;
        duringModal(
            nullptr,
            [&] {
                program->app().services.dialogs.messageBox(row.text, row.caption, MessageIcon::None,
                                                           MessageButtons::Ok);
            },
            [&](QWidget& box) {
                title = box.windowTitle();
                width = box.width();
            });
        const QString caption = QString::fromStdString(row.caption);
        // A title bar holds an icon and two or three buttons beside its caption.
        EXPECT_GE(width, QFontMetrics(bold).horizontalAdvance(caption) + 100) << row.text;
        // The platforms show the program's name for an empty title, not for a blank one.
        if (caption.isEmpty())
            EXPECT_TRUE(!title.isEmpty() && title.trimmed().isEmpty()) << title.toStdString();
        else
            EXPECT_EQ(title, caption);
    }

    LogWindow& log = program->logWindow();
    int logWidth = 0;
    QTimer::singleShot(0, &log, [&] {
        logWidth = log.width();
        log.done(QDialog::Accepted);
    });
    program->app().services.dialogs.showModal(WindowId::Log);
    EXPECT_GE(logWidth, QFontMetrics(bold).horizontalAdvance(log.windowTitle()) + 100);
}

TEST_F(WindowRules, AnotherWindowOpeningIsNoLeavingOfAField) {
    App& app = program->app();
    TformMain& m = app.main;
    m.CheckModemFlagGPRS.checked = true;
    applyGprsSwitch(m);
    m.RBtnDNS1.checked = true;
    RBtnDNSClick(app, 1);
    m.EditGPRSDNS1.text.clear();
    m.EditECallMic.text.clear();
    struct Row {
        Page page;
        const char* field;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        QString opens;
    };
    for (const Row& row : {Row{Page::TabSheetECall, "EditECallMic", Qt::Key_F11,
                               Qt::ControlModifier, "первичная инициализация модема"},
                           Row{Page::TabSheet5, "EditGPRSDNS1", Qt::Key_7,
                               Qt::ControlModifier | Qt::AltModifier, "Настройки"}}) {
        m.page(row.page).tabVisible = true;
        m.activePage = row.page;
        program->binder().pushAll();
        program->mainWindow().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&program->mainWindow()));
        auto& field = widget<QLineEdit>(row.field);
        field.setFocus();
        ASSERT_EQ(QApplication::focusWidget(), &field) << row.field;
        QStringList opened;
        duringModal(
            nullptr, [&] { QTest::keyClick(&field, row.key, row.modifiers); },
            [&](QWidget& window) { opened << window.windowTitle(); });
        EXPECT_EQ(opened, QStringList{row.opens}) << row.field;
    }
}

}  // namespace
}  // namespace zelar::ui
