#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include "sim_process.h"
#include "ui/config_program.h"
#include "ui/qt_printers.h"

// The real window under the offscreen platform against zelar-sim on a pseudo-terminal, driven
// through its widgets as a user would.
namespace zelar::ui {
namespace {

using zelar::test::SimProcess;

class WindowRead : public ::testing::Test {
  protected:
    WindowRead() {
        saved_ = qgetenv("XDG_CONFIG_HOME");
        // The window finds the simulator's COM link in its configuration folder.
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir_.path()));
        QDir().mkpath(ports());
        // Every box the window opens is answered with its default button and remembered.
        QObject::connect(&closer_, &QTimer::timeout, [this] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                const auto* box = qobject_cast<QMessageBox*>(modal);
                boxes << modal->windowTitle() + (box != nullptr ? ": " + box->text() : "");
                modal->close();
            }
        });
        closer_.start(20);
    }
    ~WindowRead() override {
        if (saved_.isNull())
            qunsetenv("XDG_CONFIG_HOME");
        else
            qputenv("XDG_CONFIG_HOME", saved_);
    }

    QString ports() const { return dir_.path() + "/Kalvimo/Zelar2/ports"; }

    template <class W>
    static W& in(QWidget& window, const char* name) {
        W* found = window.findChild<W*>(name);
        if (found == nullptr)
            throw std::logic_error(std::string("no widget ") + name);
        return *found;
    }

    QStringList boxes;

  private:
    QTemporaryDir dir_;
    QByteArray saved_;
    QTimer closer_;
};

TEST_F(WindowRead, ReadsTheModemAndAfterMasterLoginShowsTheSimPageFilled) {
    SimProcess sim({"--ports-dir", ports().toStdString(), "--com", "42"});
    ASSERT_EQ(sim.line().substr(0, sim.line().find(' ')), "COM42");

    ConfigProgram program;
    ASSERT_TRUE(program.start());
    MainWindow& main = program.mainWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));

    auto& port = in<QComboBox>(main, "ComboBox1");
    const int com42 = port.findText("COM42");
    ASSERT_GE(com42, 0);
    port.setFocus();
    for (int i = 0; i < port.count() && port.currentIndex() != com42; ++i)
        QTest::keyClick(&port, Qt::Key_Down);
    ASSERT_EQ(program.app().main.ComboBox1.text, "COM42");

    QTest::mouseClick(&in<QPushButton>(main, "btnReadNastUser"), Qt::LeftButton);
    auto& status = *in<QStatusBar>(main, "StatusBar1").findChild<QLabel*>();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return status.text().startsWith("Настройки модема считаны"); }, 15000))
        << status.text().toStdString() << " " << boxes.join(" | ").toStdString();
    EXPECT_TRUE(in<QLabel>(main, "StaticTextSN").text().contains("7204518"));

    auto& user = in<QComboBox>(main, "cbUser");
    user.setFocus();
    QTest::keyClick(&user, Qt::Key_Home);
    EXPECT_EQ(user.currentText(), "1");
    auto& password = in<QLineEdit>(main, "EditPassword");
    QTest::keyClicks(&password, "1234");
    QTest::mouseClick(&in<QPushButton>(main, "ButtonApplyPassword"), Qt::LeftButton);
    EXPECT_EQ(boxes, QStringList{"Модем: Пароль принят.Статус пользователя:Мастер"});

    auto& tree = in<QTreeWidget>(main, "TreeView1");
    QTreeWidgetItem* modem = tree.topLevelItem(1);
    ASSERT_EQ(modem->text(0), "Настройка модема");
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, tree.visualItemRect(modem).center());

    auto& pages = in<QTabWidget>(main, "PageControl1");
    auto& simPage = in<QWidget>(main, "TabSheet2");
    EXPECT_TRUE(pages.isTabVisible(pages.indexOf(&simPage)));
    EXPECT_EQ(pages.currentWidget(), &simPage);
    EXPECT_EQ(pages.tabText(pages.currentIndex()), "Настройка SIM-карт");
    EXPECT_EQ(in<QLineEdit>(main, "EditSim1Pin1").text(), "4951");
    EXPECT_EQ(in<QLineEdit>(main, "EditSim1APN").text(), "internet.mts.ru");
    EXPECT_TRUE(in<QCheckBox>(main, "AutoSetPar1").isChecked());
    EXPECT_TRUE(in<QLineEdit>(main, "EditSim1Pin1").isVisible());
}

}  // namespace
}  // namespace zelar::ui
