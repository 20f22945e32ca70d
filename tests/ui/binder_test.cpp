#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <stdexcept>

#include "ui/binder.h"
#include "ui/file_filters.h"
#include "ui/qt_printers.h"

namespace zelar::ui {
namespace {

template <class W>
W* add(QWidget& parent, const char* name) {
    auto* widget = new W(&parent);
    widget->setObjectName(name);
    if (parent.layout() != nullptr)
        parent.layout()->addWidget(widget);
    return widget;
}

// A small window built by hand, bound to plain model controls.
class BinderTest : public ::testing::Test {
  protected:
    BinderTest() {
        new QVBoxLayout(&window);
        window.setObjectName("Window");
        edit = add<QLineEdit>(window, "Edit");
        combo = add<QComboBox>(window, "Combo");
        auto* group = add<QWidget>(window, "Group");
        new QVBoxLayout(group);
        radioA = add<QRadioButton>(*group, "RadioA");
        radioB = add<QRadioButton>(*group, "RadioB");
        tabs = add<QTabWidget>(window, "Tabs");
        for (const char* name : {"Page1", "Page2", "Page3"}) {
            auto* page = new QWidget;
            page->setObjectName(name);
            tabs->addTab(page, name);
        }
        tree = add<QTreeWidget>(window, "Tree");
        binder.setErrorReporter([this](const std::exception& e) { errors.push_back(e.what()); });
    }

    // Mouse clicks need a laid-out window, focus changes an active one.
    void showActive() {
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    QWidget window;
    QLineEdit* edit;
    QComboBox* combo;
    QRadioButton* radioA;
    QRadioButton* radioB;
    QTabWidget* tabs;
    QTreeWidget* tree;
    Binder binder;
    std::vector<std::string> errors;
};

TEST_F(BinderTest, EditShowsTheModelAndTypingRunsTheActionAfterTheModelChanged) {
    Edit model{{}, "12345678", 4};
    std::string seen;
    binder.bind(window, "Edit", model).onChange([&] { seen = model.text; });
    binder.pushAll();
    EXPECT_EQ(edit->text(), "12345678");  // the limit stops typing, not the program

    model.text = "";
    model.enabled = false;
    binder.pushAll();
    EXPECT_FALSE(edit->isEnabled());
    model.enabled = true;
    binder.pushAll();
    QTest::keyClicks(edit, "abcde");
    EXPECT_EQ(model.text, "abcd");
    EXPECT_EQ(seen, "abcd");
}

TEST_F(BinderTest, KeyFilterDropsRefusedKeysAndExitRunsOnFocusLoss) {
    showActive();
    Edit model;
    int exits = 0;
    binder.bind(window, "Edit", model)
        .onKey([](char32_t key) { return (key >= U'0' && key <= U'9') || key == U'\b'; })
        .onExit([&] { ++exits; });
    QTest::keyClicks(edit, "1a2");
    QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString("б"), Qt::NoModifier);
    QTest::keyClicks(edit, "3");
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(model.text, "12");  // "3" typed, then erased

    edit->setFocus();
    combo->setFocus();
    EXPECT_EQ(exits, 1);
}

TEST_F(BinderTest, ComboShowsATextThatIsNoItemAndPicksUpTheUsersChoice) {
    ComboBox model{{}, {"SMS", "АРМ"}, 0, "SMS"};
    showText(model, "???");
    int changes = 0;
    binder.bind(window, "Combo", model).onChange([&] { ++changes; });
    binder.pushAll();
    EXPECT_EQ(combo->count(), 2);
    EXPECT_EQ(combo->currentIndex(), -1);
    EXPECT_EQ(combo->placeholderText(), "???");

    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Down);
    EXPECT_EQ(model.itemIndex, 0);
    EXPECT_EQ(model.text, "SMS");
    EXPECT_EQ(changes, 1);

    selectItem(model, 1);
    binder.pushAll();
    EXPECT_EQ(combo->currentText(), "АРМ");
    EXPECT_EQ(changes, 1);  // the program's own changes run no action
}

TEST_F(BinderTest, OpeningAListRunsItsActionBeforeTheItemsAreShown) {
    ComboBox model{{}, {"COM1"}, 0, "COM1"};
    binder.bind(window, "Combo", model).onDropDown([&] {
        model.items = {"COM1", "COM33"};
        model.itemHints = {"/dev/ttyS0", "/dev/ttyUSB0\nFT232R USB UART"};
        model.itemLabels = {"", "COM33 — № 7204518, ПО 2.05"};
    });
    binder.pushAll();
    showActive();
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_F4);
    EXPECT_EQ(combo->count(), 2);
    EXPECT_EQ(combo->itemData(1, Qt::ToolTipRole).toString(), "/dev/ttyUSB0\nFT232R USB UART");
    EXPECT_EQ(combo->currentIndex(), 0);
    combo->hidePopup();
    // A label is shown; picking its item selects the item's own text.
    EXPECT_EQ(combo->itemText(1), "COM33 — № 7204518, ПО 2.05");
    QTest::keyClick(combo, Qt::Key_Down);
    EXPECT_EQ(model.text, "COM33");
}

TEST_F(BinderTest, RadioButtonsShowTheModelExactlyAndTheUsersPickUpdatesBoth) {
    RadioButton a{{}, "IP", true};
    RadioButton b{{}, "DNS", false};
    showActive();
    binder.bind(window, "RadioA", a);
    binder.bind(window, "RadioB", b);
    binder.pushAll();
    EXPECT_TRUE(radioA->isChecked());

    a.checked = false;
    binder.pushAll();
    EXPECT_FALSE(radioA->isChecked());
    EXPECT_FALSE(radioB->isChecked());

    a.checked = true;
    binder.pushAll();
    // On the button's circle: the widget is wider than what it draws.
    QTest::mouseClick(radioB, Qt::LeftButton, {}, QPoint(6, radioB->height() / 2));
    EXPECT_FALSE(a.checked);
    EXPECT_TRUE(b.checked);
}

TEST_F(BinderTest, HidingTabsLeavesTheActivePageToTheModel) {
    TabSheet p1, p2, p3;
    Page active = Page::TabSheet1;
    binder.bind(window, "Page1", p1);
    binder.bind(window, "Page2", p2);
    binder.bind(window, "Page3", p3);
    binder.bindActivePage(window, "Tabs", active);
    binder.pushAll();

    p1.tabVisible = false;
    p3.tabVisible = false;
    active = Page::TabSheet2;
    binder.pushAll();
    EXPECT_EQ(tabs->currentIndex(), 1);
    EXPECT_EQ(active, Page::TabSheet2);

    p2.tabVisible = false;
    binder.pushAll();
    EXPECT_EQ(active, Page::TabSheet2);
    EXPECT_TRUE(tabs->findChild<QStackedWidget*>()->isHidden());

    p3.tabVisible = true;
    active = Page::TabSheet3;
    binder.pushAll();
    EXPECT_EQ(tabs->currentIndex(), 2);
    EXPECT_FALSE(tabs->findChild<QStackedWidget*>()->isHidden());
}

TEST_F(BinderTest, TreeSelectionIsTheAbsoluteIndexAndOddParentsDoNotBreakIt) {
    TreeView model;
    model.nodes = {{"Users", -1}, {"#1", 0}, {"#2", 0}, {"Modem", -1}, {"Odd", 9}};
    std::vector<int> selections;
    binder.bind(window, "Tree", model).onChange([&] { selections.push_back(model.selected); });
    binder.pushAll();
    ASSERT_EQ(tree->topLevelItemCount(), 3);

    tree->setCurrentItem(tree->topLevelItem(1));
    tree->setCurrentItem(tree->topLevelItem(0)->child(1));
    EXPECT_EQ(selections, (std::vector<int>{3, 2}));

    model.selected = 1;
    binder.pushAll();
    EXPECT_EQ(tree->currentItem(), tree->topLevelItem(0)->child(0));
    EXPECT_EQ(selections.size(), 2u);
}

TEST_F(BinderTest, HandlerErrorsAreReportedAndTheModelIsShownAnyway) {
    Button button{{}, "Считать"};
    showActive();
    Edit status;
    binder.bind(window, "Edit", status);
    auto* push = add<QPushButton>(window, "Button");
    binder.bind(window, "Button", button).onClick([&] {
        status.text = "начато";
        button.enabled = false;
        throw std::runtime_error("Read data error");
    });
    binder.pushAll();
    QTest::mouseClick(push, Qt::LeftButton);
    EXPECT_EQ(errors, std::vector<std::string>{"Read data error"});
    EXPECT_EQ(edit->text(), "начато");
    EXPECT_FALSE(push->isEnabled());
}

TEST_F(BinderTest, MissingWidgetsAndFocusRequests) {
    Edit model;
    EXPECT_THROW(binder.bind(window, "NoSuchEdit", model), std::logic_error);
    ComboBox wrongKind;
    EXPECT_THROW(binder.bind(window, "Edit", wrongKind), std::logic_error);

    showActive();
    std::string request = "Edit";
    binder.bindFocusRequest(window, request);
    binder.pushAll();
    EXPECT_TRUE(request.empty());
    EXPECT_EQ(window.focusWidget(), edit);
}

// Rows are rebuilt only when they change, so a choice the user made survives every push; a
// choice of several rows comes in ascending order whatever order it was made in.
TEST_F(BinderTest, TableRowsAreChosenWholeAndAChoiceSurvivesThePushes) {
    auto* grid = add<QTableWidget>(window, "Grid");
    Table model{{}, {"№", "Время"}, {{"2", "вчера"}, {"1", "позавчера"}, {"0", "давно"}}};
    model.multiSelect = true;
    std::vector<std::vector<int>> choices;
    binder.bind(window, "Grid", model).onChange([&] { choices.push_back(model.selected); });
    binder.pushAll();
    ASSERT_EQ(grid->rowCount(), 3);
    EXPECT_EQ(grid->horizontalHeaderItem(1)->text(), "Время");
    EXPECT_EQ(grid->item(1, 1)->text(), "позавчера");

    grid->selectRow(2);
    QItemSelection more(grid->model()->index(0, 0), grid->model()->index(0, 1));
    grid->selectionModel()->select(more, QItemSelectionModel::Select);
    ASSERT_FALSE(choices.empty());
    EXPECT_EQ(choices.back(), (std::vector<int>{0, 2}));
    binder.pushAll();
    EXPECT_EQ(grid->selectionModel()->selectedRows().size(), 2);

    // The program's choice is shown, and is no choice of the user.
    const std::size_t made = choices.size();
    model.rows.pop_back();
    model.selected = {1};
    model.multiSelect = false;
    binder.pushAll();
    EXPECT_EQ(grid->rowCount(), 2);
    EXPECT_EQ(grid->selectionMode(), QAbstractItemView::SingleSelection);
    ASSERT_EQ(grid->selectionModel()->selectedRows().size(), 1);
    EXPECT_EQ(grid->selectionModel()->selectedRows().front().row(), 1);
    EXPECT_EQ(choices.size(), made);
    model.selected.clear();
    binder.pushAll();
    EXPECT_TRUE(grid->selectionModel()->selectedRows().isEmpty());
}

TEST_F(BinderTest, AMenuEntryWithACheckMarkFollowsItsModelBothWays) {
    auto* action = new QAction("&Вести", &window);
    action->setObjectName("Keep");
    CheckBox model{{}, "Вести"};
    std::vector<bool> seen;
    bool busy = false;
    binder.bind(window, "Keep", model)
        .onClick([&] { seen.push_back(model.checked); })
        .lookDisabledWhile([&] { return busy; });
    binder.pushAll();
    EXPECT_TRUE(action->isCheckable());
    EXPECT_FALSE(action->isChecked());
    action->trigger();
    action->trigger();
    EXPECT_EQ(seen, (std::vector<bool>{true, false}));
    model.checked = true;
    busy = true;
    binder.pushAll();
    EXPECT_TRUE(action->isChecked());
    EXPECT_FALSE(action->isEnabled());
    EXPECT_EQ(seen.size(), 2u);
}

TEST(FileFilters, DescriptionsAndPatternsBecomeQtNameFilters) {
    EXPECT_EQ(toNameFilters("Настройки|*.md2|Все файлы|*.*"),
              (QStringList{"Настройки (*.md2)", "Все файлы (*.*)"}));
    EXPECT_EQ(toNameFilters("Прошивка|*.dat;*.bin"), QStringList{"Прошивка (*.dat *.bin)"});
    EXPECT_EQ(toNameFilters("Настройки GSM-модема (*.md2)|*.md2"),
              QStringList{"Настройки GSM-модема (*.md2)"});
    EXPECT_EQ(toNameFilters("*.txt|*.txt"), QStringList{"*.txt"});
    // Other patterns in the description's brackets are not the filter's.
    EXPECT_EQ(toNameFilters("Словарь (*.txt)|*.dic"), QStringList{"Словарь (*.txt) (*.dic)"});
    EXPECT_EQ(toNameFilters("Текст"), QStringList{"Текст"});
    EXPECT_TRUE(toNameFilters("").isEmpty());
}

}  // namespace
}  // namespace zelar::ui
