#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <algorithm>
#include <map>

#include "app/pages/gprs_rules.h"
#include "app/pages/show_settings.h"
#include "app/report/handover_report.h"
#include "app/shell/display_mode.h"
#include "forms/control_registry.h"
#include "ui/qt_printers.h"
#include "ui/window_fixture.h"

namespace zelar::ui {
namespace {

class Pages : public test::Window {
  protected:
    void SetUp() override {
        ASSERT_TRUE(program->start());
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&program->mainWindow()));
    }

    // Puts one page on view, with every tab shown.
    void showPage(Page page) {
        TformMain& m = program->app().main;
        for (int i = 0; i < kPageCount; ++i)
            m.page(static_cast<Page>(i)).tabVisible = true;
        m.activePage = page;
        program->binder().pushAll();
        QApplication::processEvents();
    }
};

bool isLeaf(const QWidget* w) {
    return qobject_cast<const QLabel*>(w) != nullptr ||
           qobject_cast<const QAbstractButton*>(w) != nullptr ||
           qobject_cast<const QLineEdit*>(w) != nullptr ||
           qobject_cast<const QComboBox*>(w) != nullptr || w->objectName().startsWith("PanelQ");
}

// Every visible field, caption and button of `area`, with its place in window coordinates.
QList<QPair<QWidget*, QRect>> visibleLeaves(QWidget& area) {
    QList<QPair<QWidget*, QRect>> leaves;
    for (QWidget* w : area.findChildren<QWidget*>()) {
        if (w->isVisible() && isLeaf(w))
            leaves.append({w, QRect(w->mapTo(w->window(), QPoint(0, 0)), w->size())});
    }
    return leaves;
}

// No two controls share pixels, and every caption has the room its text needs.
void expectTidy(QWidget& area) {
    const auto leaves = visibleLeaves(area);
    ASSERT_FALSE(leaves.isEmpty()) << area.objectName().toStdString();
    for (qsizetype i = 0; i < leaves.size(); ++i) {
        QWidget* w = leaves[i].first;
        for (qsizetype j = i + 1; j < leaves.size(); ++j) {
            EXPECT_FALSE(leaves[i].second.intersects(leaves[j].second))
                << w->objectName().toStdString() << " overlaps "
                << leaves[j].first->objectName().toStdString();
        }
        const bool cutOnPurpose = w->sizePolicy().horizontalPolicy() == QSizePolicy::Ignored;
        if ((qobject_cast<QLabel*>(w) != nullptr || qobject_cast<QAbstractButton*>(w) != nullptr) &&
            !cutOnPurpose) {
            EXPECT_GE(w->width(), w->sizeHint().width()) << w->objectName().toStdString();
            EXPECT_GE(w->height(), w->sizeHint().height()) << w->objectName().toStdString();
        }
    }
}

TEST_F(Pages, EveryControlOfEveryWindowIsBoundToItsWidget) {
    App& app = program->app();
    Binder& binder = program->binder();
    const auto expectBound = [&](QWidget& window, const std::vector<NamedControl>& controls) {
        for (const NamedControl& control : controls)
            EXPECT_NO_THROW(binder.at(window, control.name)) << control.name;
    };
    expectBound(program->mainWindow(), mainWindowControls(app.main));
    expectBound(program->setupWindow(), setupWindowControls(app.setup));
    expectBound(program->ussdWindow(), ussdDialogControls(app.ussd));
    expectBound(program->logWindow(), logWindowControls(app.log));
}

TEST_F(Pages, NothingOverlapsAndNoCaptionIsCut) {
    for (int i = 0; i < kPageCount; ++i) {
        SCOPED_TRACE(i);
        showPage(static_cast<Page>(i));
        expectTidy(*widget<QTabWidget>("PageControl1").currentWidget());
    }

    // Long texts the handlers put in, and the controls that appear only later.
    TformSetup& setup = program->app().setup;
    setup.labelNameFile.caption = "/home/installer/firmware/zelar-2/" + std::string(80, 'x');
    setup.labInfo.caption = "Запись завершена с ошибкой.";
    setup.LabWorkAs.visible = true;
    setup.ComBoxWorkAs.visible = true;
    program->binder().pushAll();
    for (QWidget* window : {static_cast<QWidget*>(&program->setupWindow()),
                            static_cast<QWidget*>(&program->ussdWindow())}) {
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
        expectTidy(*window);
        window->hide();
    }
}

// Model states the handlers produce, each applied to the window as started.
struct ModelState {
    const char* name;
    void (*apply)(App& app);
};

void PrintTo(const ModelState& state, std::ostream* out) {
    *out << state.name;
}

void showUser(App& app, std::uint8_t options, std::uint8_t messageType) {
    app.image.users[4].options = options;
    app.image.users[4].messageType = messageType;
    ShowUserSettings(app, 5);
}

const ModelState kModelStates[] = {
    {"UserOff", [](App& app) { showUser(app, 0, 0); }},
    {"UserOnCalling", [](App& app) { showUser(app, 1, 2); }},
    {"GprsOff",
     [](App& app) {
         app.main.CheckModemFlagGPRS.checked = false;
         applyGprsSwitch(app.main);
     }},
    {"UserMode",
     [](App& app) {
         selectItem(app.main.cbExpert, 0);
         cbExpertChange(app);
     }},
};

class EffectiveState : public Pages, public ::testing::WithParamInterface<ModelState> {};

// What the model says of a control's holders: whether they let it be enabled and shown. Caption
// panels hold no say over enabling; a page is judged by its own tab.
struct Holders {
    bool enabled = true;
    bool visible = true;
    QWidget* page = nullptr;
};

Holders holdersOf(QWidget& widget, const std::map<QString, ControlRef>& byName) {
    Holders holders;
    for (QWidget* w = widget.parentWidget(); w != nullptr; w = w->parentWidget()) {
        const auto it = byName.find(w->objectName());
        if (it == byName.end())
            continue;
        if (std::holds_alternative<TabSheet*>(it->second)) {
            holders.enabled = holders.enabled && std::get<TabSheet*>(it->second)->enabled;
            holders.page = w;
            break;
        }
        if (const auto* panel = std::get_if<Panel*>(&it->second)) {
            holders.enabled = holders.enabled && ((*panel)->captionOnly || (*panel)->enabled);
            holders.visible = holders.visible && (*panel)->visible;
        }
    }
    return holders;
}

TEST_P(EffectiveState, EveryBoundControlIsAsEnabledAndShownAsTheModelSays) {
    App& app = program->app();
    GetParam().apply(app);
    program->binder().pushAll();

    std::map<QString, ControlRef> byName;
    for (const NamedControl& c : mainWindowControls(app.main))
        byName.emplace(QString::fromLatin1(c.name), c.control);
    for (const auto& page : {userPageControls(app.main), simPageControls(app.main),
                             gprsPageControls(app.main), objectPageControls(app.main),
                             voiceCallPageControls(app.main), diagnosticsPageControls(app.main)}) {
        for (const NamedControl& c : page) {
            if (std::holds_alternative<TabSheet*>(c.control))
                continue;
            QWidget& w = program->binder().at(program->mainWindow(), c.name).widget();
            const Control& model = controlBase(c.control);
            const Holders holders = holdersOf(w, byName);
            const auto* panel = std::get_if<Panel*>(&c.control);
            if (panel != nullptr && (*panel)->captionOnly) {
                if (auto* caption = w.findChild<QLabel*>(w.objectName() + "Caption")) {
                    EXPECT_EQ(caption->isEnabled(), model.enabled && holders.enabled) << c.name;
                }
            } else {
                EXPECT_EQ(w.isEnabled(), model.enabled && holders.enabled) << c.name;
            }
            EXPECT_EQ(w.isHidden(), !model.visible) << c.name;
            EXPECT_EQ(w.isVisibleTo(holders.page), model.visible && holders.visible) << c.name;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Pages, EffectiveState, ::testing::ValuesIn(kModelStates),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Pages, ExpertGroupsAndTheGprsGroupHoldTheirControls) {
    const auto expectHolds = [&](const char* holder, std::initializer_list<const char*> names) {
        auto& box = widget<QWidget>(holder);
        for (const char* name : names)
            EXPECT_TRUE(box.isAncestorOf(&widget<QWidget>(name))) << holder << " " << name;
    };
    expectHolds("PanelExpert4", {"CheckBoxSim1Pass", "EditSim1Pin1", "EditSim1Puk1"});
    expectHolds("PanelExpert5", {"CheckBoxSim2Pass", "EditSim2Pin1", "EditSim2Puk1"});
    expectHolds("GroupSim1", {"CheckBoxSim1Vkl", "AutoSetPar1", "EditSim1APN"});
    expectHolds("GroupSim2", {"CheckBoxSim2Vkl", "AutoSetPar2", "EditSim2APN"});

    auto& gprs = widget<QWidget>("GBoxGPRS");
    for (const NamedControl& control : gprsPageControls(program->app().main)) {
        const std::string name = control.name;
        if (name != "CheckModemFlagGPRS" && name != "GBoxGPRS") {
            EXPECT_TRUE(gprs.isAncestorOf(&widget<QWidget>(control.name))) << name;
        }
    }
    EXPECT_FALSE(gprs.isAncestorOf(&widget<QWidget>("CheckModemFlagGPRS")));
    // Disabling the reserve server must leave its switch usable.
    EXPECT_FALSE(
        widget<QWidget>("GroupServer2").isAncestorOf(&widget<QWidget>("CheckBoxGPRSRez2")));

    auto& mode = widget<QComboBox>("cbExpert");
    auto& sims = widget<QWidget>("TabSheet2");
    mode.setFocus();
    // The PUK is fixed: neither SIM's field shows in either mode, and no caption names it.
    for (const bool expert : {true, false}) {
        QTest::keyClick(&mode, expert ? Qt::Key_Down : Qt::Key_Up);
        EXPECT_EQ(widget<QWidget>("EditSim1Pin1").isVisibleTo(&sims), expert);
        EXPECT_EQ(widget<QWidget>("EditSim2Pin1").isVisibleTo(&sims), expert);
        EXPECT_FALSE(widget<QWidget>("EditSim1Puk1").isVisibleTo(&sims)) << expert;
        EXPECT_FALSE(widget<QWidget>("EditSim2Puk1").isVisibleTo(&sims)) << expert;
    }
    for (const QLabel* label : sims.findChildren<QLabel*>())
        EXPECT_FALSE(label->text().contains("PUK")) << label->objectName().toStdString();
    EXPECT_TRUE(widget<QWidget>("CheckBoxSim2Vkl").isVisibleTo(&sims));
}

TEST_F(Pages, EachServersAddressChoiceIsAPairOfItsOwn) {
    showPage(Page::TabSheet5);
    TformMain& m = program->app().main;
    QTest::mouseClick(&widget<QRadioButton>("RBtnDNS1"), Qt::LeftButton);
    EXPECT_TRUE(m.RBtnDNS1.checked);
    EXPECT_FALSE(m.RBtnIP1.checked);
    EXPECT_TRUE(m.RBtnIP2.checked);
    EXPECT_TRUE(widget<QRadioButton>("RBtnIP2").isChecked());

    QTest::mouseClick(&widget<QRadioButton>("RBtnDNS2"), Qt::LeftButton);
    EXPECT_TRUE(m.RBtnDNS1.checked);
    EXPECT_FALSE(m.RBtnIP2.checked);
}

TEST_F(Pages, SignalBarsRiseLeftToRightAndLightUpGreen) {
    showPage(Page::TabSheet4);
    TformMain& m = program->app().main;
    const char* names[] = {"PanelQ1", "PanelQ2", "PanelQ3", "PanelQ4", "PanelQ5"};
    for (int i = 1; i < 5; ++i) {
        auto& left = widget<QFrame>(names[i - 1]);
        auto& right = widget<QFrame>(names[i]);
        EXPECT_LT(left.height(), right.height()) << names[i];
        EXPECT_LT(left.x(), right.x()) << names[i];
        EXPECT_EQ(left.geometry().bottom(), right.geometry().bottom()) << names[i];
    }

    const auto colour = [&](const char* name) {
        return widget<QFrame>(name).palette().color(QPalette::Window);
    };
    const QColor face = QApplication::palette().color(QPalette::Button);
    EXPECT_EQ(colour("PanelQ1"), face);
    m.PanelQ1.lit = true;
    m.PanelQ2.lit = true;
    program->binder().pushAll();
    EXPECT_EQ(colour("PanelQ1"), QColor(0, 128, 0));
    EXPECT_EQ(colour("PanelQ2"), QColor(0, 128, 0));
    EXPECT_EQ(colour("PanelQ3"), face);
    m.PanelQ1.lit = false;
    program->binder().pushAll();
    EXPECT_EQ(colour("PanelQ1"), face);
}

// The report lists the fault flags the window shows, in its order (down each column): read from
// the window's own group, not from the table the report takes them from.
TEST_F(Pages, TheReportListsEveryFaultBoxTheWindowShows) {
    showPage(Page::TabSheet4);
    QList<QCheckBox*> boxes = widget<QGroupBox>("GroupErrors").findChildren<QCheckBox*>();
    std::sort(boxes.begin(), boxes.end(), [](const QWidget* a, const QWidget* b) {
        return std::pair(a->x(), a->y()) < std::pair(b->x(), b->y());  // column by column
    });
    std::vector<std::string> shown;
    for (const QCheckBox* box : boxes) {
        if (box->objectName() != QLatin1String("CheckBoxMeter"))
            shown.push_back(box->text().remove(QLatin1Char('&')).toStdString());
    }
    ASSERT_EQ(shown.size(), 11u);

    HandoverRequest request;
    request.faultsRead = true;
    const HandoverReport report = handoverReport(program->app(), request);
    const auto faults = std::find_if(report.parts.begin(), report.parts.end(), [](const auto& p) {
        return p.title == "Сигнал и неисправности";
    });
    ASSERT_NE(faults, report.parts.end());
    std::vector<std::string> listed;
    for (const ReportRow& row : faults->rows) {
        if (row.caption != "Уровень сигнала")
            listed.push_back(row.caption);
    }
    EXPECT_EQ(listed, shown);
}

}  // namespace
}  // namespace zelar::ui
