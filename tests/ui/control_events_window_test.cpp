#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QTest>

#include "ui/qt_printers.h"
#include "ui/window_fixture.h"

namespace zelar::ui {
namespace {

class EventWindow : public test::Window {};

// The window runs the rules of the one control event table and the models' key filters.
TEST_F(EventWindow, RunsTheControlEventTableAndTheKeyFilters) {
    ASSERT_TRUE(program->start());
    const TformMain& m = program->app().main;

    QTest::keyClicks(&widget<QLineEdit>("EditUserTel"), "+7a9.1");
    EXPECT_EQ(m.EditUserTel.text, "+791");
    QTest::keyClicks(&widget<QLineEdit>("EditSim1Ballance"), "1.a2");
    EXPECT_EQ(m.EditSim1Ballance.text, "12");

    auto& pin = widget<QCheckBox>("CheckBoxSim1Pass");
    pin.click();
    EXPECT_TRUE(m.EditSim1Pin1.enabled);
    pin.click();
    EXPECT_FALSE(m.EditSim1Pin1.enabled);
    EXPECT_FALSE(widget<QLineEdit>("EditSim1Pin1").isEnabled());
}

}  // namespace
}  // namespace zelar::ui
