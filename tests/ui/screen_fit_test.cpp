#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QScreen>
#include <QScrollArea>
#include <QTest>

#include "ui/window_fixture.h"

// The main window on a screen smaller than the window, as laptops at 125 to 200 % scaling are:
// ctest runs these tests again on a 1280x900 screen at the scalings 1.5 and 2.
namespace zelar::ui {
namespace {

class ScreenFit : public test::Window {};

TEST_F(ScreenFit, TheMainWindowStaysOnTheScreenAndEveryControlCanBeReached) {
    ASSERT_TRUE(program->start());
    MainWindow& main = program->mainWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    const QRect available = main.screen()->availableGeometry();
    EXPECT_TRUE(available.contains(main.frameGeometry()))
        << main.frameGeometry().x() << "," << main.frameGeometry().y() << " "
        << main.frameGeometry().width() << "x" << main.frameGeometry().height();

    auto* area = main.findChild<QScrollArea*>();
    ASSERT_NE(area, nullptr);
    QList<QWidget*> controls;
    for (QWidget* w : main.findChildren<QWidget*>()) {
        if (w->isVisible() && (qobject_cast<QAbstractButton*>(w) || qobject_cast<QLineEdit*>(w) ||
                               qobject_cast<QComboBox*>(w)))
            controls << w;
    }
    ASSERT_TRUE(controls.contains(&widget<QWidget>("ButtonWriteNastr")));
    for (QWidget* control : controls) {
        // Scrolled to as a person would, to see it whole.
        const QRect place(control->mapTo(area->widget(), QPoint()), control->size());
        area->ensureVisible(place.center().x(), place.center().y(), place.width() / 2 + 1,
                            place.height() / 2 + 1);
        const QRect shown(control->mapTo(area->viewport(), QPoint()), control->size());
        EXPECT_TRUE(area->viewport()->rect().contains(shown))
            << control->objectName().toStdString() << " " << shown.width() << "x" << shown.height()
            << " in " << area->viewport()->width() << "x" << area->viewport()->height();
    }
}

}  // namespace
}  // namespace zelar::ui
