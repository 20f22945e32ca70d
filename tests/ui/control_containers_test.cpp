#include <gtest/gtest.h>

#include <QTest>
#include <string>

#include "forms/control_containers.h"
#include "forms/control_registry.h"
#include "ui/window_fixture.h"

namespace zelar::ui {
namespace {

class Containers : public test::Window {};

// The table of groups that the script front end reads agrees with the window's layout.
TEST_F(Containers, MatchTheWidgetTree) {
    QWidget& window = program->mainWindow();
    const auto named = mainWindowControls(program->app().main);
    for (const ControlContainer& group : controlContainers()) {
        const QString groupName = QString::fromUtf8(group.name.data(), group.name.size());
        auto* holder = window.findChild<QWidget*>(groupName);
        ASSERT_NE(holder, nullptr) << group.name;
        for (std::string_view member : group.members) {
            auto* w = window.findChild<QWidget*>(QString::fromUtf8(member.data(), member.size()));
            ASSERT_NE(w, nullptr) << member;
            EXPECT_TRUE(holder->isAncestorOf(w)) << member << " outside " << group.name;
        }
        for (const NamedControl& c : named) {
            auto* w = window.findChild<QWidget*>(c.name);
            if (w != nullptr && w != holder && holder->isAncestorOf(w)) {
                const ControlContainer* listed = containerOf(c.name);
                EXPECT_TRUE(listed != nullptr && listed->name == group.name)
                    << c.name << " is inside " << group.name << " but not listed";
            }
        }
    }
}

}  // namespace
}  // namespace zelar::ui
