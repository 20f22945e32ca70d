#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include "ui/window_fixture.h"

// The windows on a screen smaller than they are, as laptops at 125 to 200 % scaling are: ctest
// runs these tests again on small screens at large scalings (tests/ui/CMakeLists.txt).
namespace zelar::ui {
namespace {

class ScreenFit : public test::Window {
  protected:
    // The window stands inside the screen's free area, and each of its controls can be seen
    // whole once its scroll area is scrolled to it, as a person would.
    static void fitsAndReachesEveryControl(QWidget& window, const char* mustHave) {
        const QRect available = window.screen()->availableGeometry();
        const QRect frame = window.frameGeometry();
        EXPECT_TRUE(available.contains(frame))
            << window.objectName().toStdString() << " " << frame.x() << "," << frame.y() << " "
            << frame.width() << "x" << frame.height();
        auto* area = window.findChild<QScrollArea*>();
        ASSERT_NE(area, nullptr);
        QList<QWidget*> controls;
        for (QWidget* w : area->widget()->findChildren<QWidget*>()) {
            if (w->isVisible() && (qobject_cast<QAbstractButton*>(w) ||
                                   qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w)))
                controls << w;
        }
        ASSERT_TRUE(controls.contains(window.findChild<QWidget*>(mustHave))) << mustHave;
        for (QWidget* control : controls) {
            const QRect place(control->mapTo(area->widget(), QPoint()), control->size());
            area->ensureVisible(place.center().x(), place.center().y(), place.width() / 2 + 1,
                                place.height() / 2 + 1);
            const QRect shown(control->mapTo(area->viewport(), QPoint()), control->size());
            EXPECT_TRUE(area->viewport()->rect().contains(shown))
                << control->objectName().toStdString() << " " << shown.width() << "x"
                << shown.height() << " in " << area->viewport()->width() << "x"
                << area->viewport()->height();
        }
    }
};

TEST_F(ScreenFit, TheMainWindowStaysOnTheScreenAndEveryControlCanBeReached) {
    ASSERT_TRUE(program->start());
    MainWindow& main = program->mainWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    fitsAndReachesEveryControl(main, "ButtonWriteNastr");
}

// The meter's chart on the diagnostics page, its last ten seconds drawn: the newest values are
// in view wherever the page is scrolled across, never off to the right of what is shown.
TEST_F(ScreenFit, TheSignalChartShowsItsNewestValuesWhereverThePageIsScrolled) {
    ASSERT_TRUE(program->start());
    TformMain& m = program->app().main;
    m.page(Page::TabSheet4).tabVisible = true;
    m.activePage = Page::TabSheet4;
    m.ChartSignal.spanMs = 300'000;
    for (int s = 10; s >= 0; --s)
        m.ChartSignal.points.push_back({s * 1000, 50});
    program->binder().pushAll();
    MainWindow& main = program->mainWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    auto* area = main.findChild<QScrollArea*>();
    auto* chart = main.findChild<QWidget*>("ChartSignal");
    ASSERT_TRUE(area != nullptr && chart != nullptr);
    area->verticalScrollBar()->setValue(chart->mapTo(area->widget(), QPoint()).y());
    QScrollBar& across = *area->horizontalScrollBar();
    for (int at : {across.minimum(), (across.minimum() + across.maximum()) / 2, across.maximum()}) {
        across.setValue(at);
        QApplication::processEvents();
        const QImage shown = area->viewport()->grab().toImage();
        int green = 0;
        for (int y = 0; y < shown.height(); ++y) {
            for (int x = 0; x < shown.width(); ++x) {
                const QColor c = shown.pixelColor(x, y);
                green += c.green() > 100 && c.red() < 60 && c.blue() < 60;
            }
        }
        EXPECT_GT(green, 10) << "scrolled to " << at << " of " << across.maximum();
    }
}

// With every row the login shows: the mode list below "Восстановить заводские настройки".
TEST_F(ScreenFit, TheServiceWindowStaysOnTheScreenAndEveryControlCanBeReached) {
    ASSERT_TRUE(program->start());
    TformSetup& s = program->app().setup;
    s.LabWorkAs.visible = s.ComBoxWorkAs.visible = true;
    SetupWindow& setup = program->setupWindow();
    QTimer::singleShot(0, &setup, [&] {
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&setup));
        fitsAndReachesEveryControl(setup, "ComBoxWorkAs");
        setup.done(QDialog::Accepted);
    });
    program->app().services.dialogs.showModal(WindowId::Setup);
}

TEST_F(ScreenFit, TheArchiveWindowStaysOnTheScreenAndEveryControlCanBeReached) {
    ASSERT_TRUE(program->start());
    ArchiveWindow& archive = program->archiveWindow();
    QTimer::singleShot(0, &archive, [&] {
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&archive));
        fitsAndReachesEveryControl(archive, "BtnCloseArchive");
        archive.done(QDialog::Accepted);
    });
    program->app().services.dialogs.showModal(WindowId::Archive);
}

}  // namespace
}  // namespace zelar::ui
