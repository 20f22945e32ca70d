#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include "ui/qt_printers.h"
#include "ui/window_fixture.h"

namespace zelar::ui {
namespace {

class Window : public test::Window {
  protected:
    // A key chord pressed while the focus is wherever the main window has it.
    QStringList chordOpens(Qt::Key key, Qt::KeyboardModifiers modifiers) {
        return modalsDuring([&] {
            MainWindow& main = program->mainWindow();
            QWidget* target = main.focusWidget() != nullptr ? main.focusWidget() : &main;
            QTest::keyClick(target, key, modifiers);
        });
    }
};

TEST_F(Window, StartsOnTheInformationPageAndSavesOnClose) {
    ASSERT_TRUE(program->start());
    MainWindow& main = program->mainWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));

    auto& pages = widget<QTabWidget>("PageControl1");
    const int information = pages.indexOf(&widget<QWidget>("TabSheet3"));
    for (int i = 0; i < pages.count(); ++i)
        EXPECT_EQ(pages.isTabVisible(i), i == information) << i;
    EXPECT_EQ(pages.currentIndex(), information);
    EXPECT_EQ(widget<QLabel>("StaticTextInformation").text(), "Считайте настройки модема...");
    EXPECT_TRUE(
        widget<QStatusBar>("StatusBar1").findChild<QLabel*>()->text().startsWith("Считайте"));
    EXPECT_EQ(widget<QComboBox>("cbExpert").currentText(), "Эксперт");
    EXPECT_EQ(widget<QLineEdit>("EditPassword").echoMode(), QLineEdit::Password);
    // A fixed size where the screen has room for the whole window.
    const QSize room = main.screen()->availableGeometry().size();
    if (main.sizeHint().width() < room.width() && main.sizeHint().height() < room.height()) {
        EXPECT_EQ(main.minimumSize(), main.maximumSize());
    }

    auto& ports = widget<QComboBox>("ComboBox1");
    ASSERT_EQ(ports.count(), 1);
    EXPECT_EQ(ports.currentIndex(), -1);
    ports.setFocus();
    QTest::keyClick(&ports, Qt::Key_Down);
    EXPECT_EQ(program->app().main.ComboBox1.text, "COM7");

    main.close();
    QSettings saved(ini, QSettings::IniFormat);
    EXPECT_EQ(saved.value("Modem/Com").toString(), "7");
    EXPECT_EQ(saved.value("Modem/Expert").toString(), "1");
}

TEST_F(Window, DisplayModeAndTreeRunTheirHandlers) {
    ASSERT_TRUE(program->start());
    auto& mode = widget<QComboBox>("cbExpert");
    mode.setFocus();
    QTest::keyClick(&mode, Qt::Key_Up);
    EXPECT_EQ(mode.currentText(), "Пользователь");
    EXPECT_TRUE(widget<QWidget>("PanelExpert1").isHidden());
    EXPECT_TRUE(widget<QWidget>("PanelExpert3").isHidden());

    auto& tree = widget<QTreeWidget>("TreeView1");
    ASSERT_EQ(tree.topLevelItemCount(), 4);
    tree.setCurrentItem(tree.topLevelItem(0)->child(2));
    EXPECT_EQ(program->app().main.TreeView1.selected, 3);
    EXPECT_EQ(widget<QLabel>("StaticTextInformation").text(), "Считайте настройки модема...");
}

TEST_F(Window, HiddenChordsOpenTheServiceAndLogWindowsOnce) {
    ASSERT_TRUE(program->start());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&program->mainWindow()));
    widget<QLineEdit>("EditPassword").setFocus();

    EXPECT_EQ(chordOpens(Qt::Key_7, Qt::ControlModifier | Qt::AltModifier),
              QStringList{"Настройки"});
    EXPECT_EQ(chordOpens(Qt::Key_F11, Qt::ControlModifier),
              QStringList{"первичная инициализация модема"});
    EXPECT_TRUE(chordOpens(Qt::Key_7, Qt::ControlModifier).isEmpty());

    auto& log = *program->logWindow().findChild<QPlainTextEdit*>("Memo1");
    EXPECT_EQ(log.toPlainText(), "Log");
    EXPECT_TRUE(log.isReadOnly());
}

TEST_F(Window, LogChordActsOnlyWhileF11IsHeld) {
    ASSERT_TRUE(program->start());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&program->mainWindow()));
    auto& password = widget<QLineEdit>("EditPassword");
    password.setFocus();

    // F11 is let go while the log window is open, as a person does.
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            QTest::keyRelease(modal, Qt::Key_F11, Qt::ControlModifier);
            modal->close();
        }
    });
    closer.start(20);
    QTest::keyPress(&password, Qt::Key_F11, Qt::ControlModifier);
    closer.stop();

    EXPECT_TRUE(chordOpens(Qt::Key_A, Qt::ControlModifier).isEmpty());
    EXPECT_TRUE(chordOpens(Qt::Key_Control, Qt::ControlModifier).isEmpty());
}

TEST_F(Window, BoxesFindTheWindowShowingWhatTheModelsHold) {
    ASSERT_TRUE(program->start());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&program->mainWindow()));
    const TformMain& m = program->app().main;
    auto& read = widget<QPushButton>("btnReadNastUser");
    auto* status = widget<QStatusBar>("StatusBar1").findChild<QLabel*>();
    auto& bar = widget<QProgressBar>("BSprogressBarLine1");

    int boxes = 0;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr)
            return;
        ++boxes;
        EXPECT_EQ(read.isEnabled(), m.btnReadNastUser.enabled);
        EXPECT_EQ(status->text().toStdString(), m.StatusBar1.text);
        EXPECT_EQ(bar.value(), m.BSprogressBarLine1.position);
        EXPECT_EQ(bar.maximum(), m.BSprogressBarLine1.max);
        modal->close();
    });
    closer.start(20);
    QTest::mouseClick(&read, Qt::LeftButton);
    EXPECT_EQ(boxes, 1);
}

TEST_F(Window, ButtonsAndEnterRunTheirHandlersOnce) {
    ASSERT_TRUE(program->start());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&program->mainWindow()));

    auto& read = widget<QPushButton>("btnReadNastUser");
    EXPECT_EQ(modalsDuring([&] { QTest::mouseClick(&read, Qt::LeftButton); }),
              QStringList{"Модем: Не могу открыть порт"});
    EXPECT_TRUE(read.isEnabled());

    auto& password = widget<QLineEdit>("EditPassword");
    password.setFocus();
    EXPECT_EQ(modalsDuring([&] { QTest::keyClick(&password, Qt::Key_Return); }),
              QStringList{"Модем: Перед вводом пароля считайте настройки модема"});
}

TEST_F(Window, OperatorDialogOkFillsTheSimAndCloses) {
    ASSERT_TRUE(program->start());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&program->mainWindow()));
    // Automatic detection off enables "Оператор".
    widget<QCheckBox>("AutoSetPar1").click();
    auto& operatorButton = widget<QPushButton>("BitBtnSIM1HelpUSSD");
    ASSERT_TRUE(operatorButton.isEnabled());

    UssdWindow& dialog = program->ussdWindow();
    bool wasShown = false;
    QTimer pick;
    QObject::connect(&pick, &QTimer::timeout, [&] {
        if (!dialog.isVisible())
            return;
        wasShown = true;
        dialog.findChild<QRadioButton*>("RadioUtel")->click();
        dialog.findChild<QPushButton*>("ButtonUSSDOperator")->click();
    });
    pick.start(20);
    // Closes the dialog should "OK" fail to, so that the test ends either way.
    QTimer::singleShot(5000, &dialog, [&] { dialog.reject(); });
    operatorButton.click();
    pick.stop();

    EXPECT_TRUE(wasShown);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(widget<QLineEdit>("EditSIM1USSD").text(), "102");
    EXPECT_EQ(widget<QLineEdit>("EditSim1NAME").text(), "");
}

}  // namespace
}  // namespace zelar::ui
