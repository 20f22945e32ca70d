#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include "ui/level_chart_painter.h"
#include "ui/level_chart_widget.h"
#include "ui/qt_printers.h"
#include "ui/window_fixture.h"

// How the window looks to a person: what lines up, what keeps still, what the fields show.
namespace zelar::ui {
namespace {

class Look : public test::Window {
  protected:
    void SetUp() override {
        ASSERT_TRUE(program->start());
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&program->mainWindow()));
    }
};

// The x, in `area`'s own units, of the leftmost pixel of `line` darker than the background.
double firstInk(const QImage& area, const QRect& line) {
    const double ratio = area.devicePixelRatio();
    const QRect pixels(line.topLeft() * ratio, line.size() * ratio);
    const QRgb background = area.pixel(pixels.right(), pixels.center().y());
    for (int x = pixels.left(); x <= pixels.right(); ++x) {
        for (int y = pixels.top(); y <= pixels.bottom(); ++y) {
            if (qGray(area.pixel(x, y)) < qGray(background) - 64)
                return x / ratio;
        }
    }
    return -1;
}

// Tab goes round the frame, the buttons below the pages last, past the caption-less start page.
TEST_F(Look, IdentificationLinesStartInOneColumnAndTheImeiIsNoTabStop) {
    TformMain& m = program->app().main;
    m.StaticTextSN.caption = "Серийный номер: 7204518";
    m.StaticTextBootVer.caption = "Версия загрузчика: 1.02";
    m.StaticTextVer.caption = "ПО контроллера: 2.05";
    m.EditIMEI.text = "IMEI: 356938035643809";
    program->binder().pushAll();
    QWidget& panel = *widget<QLabel>("StaticTextSN").parentWidget();
    const QImage image = panel.grab().toImage();
    const double column = firstInk(image, widget<QLabel>("StaticTextSN").geometry());
    ASSERT_GE(column, 0);
    // Letters differ in their own side space by a pixel.
    EXPECT_NEAR(firstInk(image, widget<QLabel>("StaticTextBootVer").geometry()), column, 1);
    EXPECT_NEAR(firstInk(image, widget<QLabel>("StaticTextVer").geometry()), column, 1);
    EXPECT_NEAR(firstInk(image, widget<QLineEdit>("EditIMEI").geometry()), column, 1);

    MainWindow& main = program->mainWindow();
    main.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
    widget<QComboBox>("ComboBox1").setFocus();
    QStringList stops;
    for (int i = 0; i < 100; ++i) {
        stops << QApplication::focusWidget()->objectName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        ASSERT_NE(QApplication::focusWidget(), &widget<QLineEdit>("EditIMEI")) << i;
    }
    EXPECT_EQ(stops.mid(0, 13),
              (QStringList{"ComboBox1", "btnFindModem", "btnReadNastUser", "cbFastExchange",
                           "cbVerifyWrites", "cbExpert", "TreeView1", "cbUser", "EditPassword",
                           "ButtonApplyPassword", "BitBtnTest", "ButtonWriteNastr", "ComboBox1"}));
}

TEST_F(Look, AccessPointAndServerFieldsShowTwentyFourCharactersWhole) {
    TformMain& m = program->app().main;
    for (Edit* edit : {&m.EditSim1APN, &m.EditSim1NAME, &m.EditSim1PASS, &m.EditSim2APN,
                       &m.EditSim2NAME, &m.EditSim2PASS, &m.EditGPRSWWW1, &m.EditGPRSWWW2})
        edit->text = "internet.mts.ru.example1";
    program->binder().pushAll();
    for (const char* name : {"EditSim1APN", "EditSim1NAME", "EditSim1PASS", "EditSim2APN",
                             "EditSim2NAME", "EditSim2PASS", "EditGPRSWWW1", "EditGPRSWWW2"}) {
        auto& edit = widget<QLineEdit>(name);
        edit.setCursorPosition(static_cast<int>(edit.text().size()));
        edit.grab();  // the text settles its scroll when it is drawn
        // Scrolled text would put the cursor left of where the whole text ends.
        EXPECT_GE(edit.inputMethodQuery(Qt::ImCursorRectangle).toRect().center().x(),
                  edit.fontMetrics().horizontalAdvance(edit.text()))
            << name;
    }
}

TEST_F(Look, DisplayModeKeepsTheTopRowStill) {
    const auto topRow = [&] {
        return QList<QRect>{widget<QProgressBar>("BSprogressBarLine1").geometry(),
                            widget<QComboBox>("cbExpert").geometry()};
    };
    const QList<QRect> expert = topRow();
    auto& mode = widget<QComboBox>("cbExpert");
    mode.setFocus();
    QTest::keyClick(&mode, Qt::Key_Up);
    ASSERT_EQ(mode.currentText(), "Пользователь");
    QApplication::processEvents();
    EXPECT_EQ(topRow(), expert);
}

TEST_F(Look, PasswordShowsStars) {
    auto& password = widget<QLineEdit>("EditPassword");
    password.setFocus();
    QTest::keyClicks(&password, "1234");
    EXPECT_EQ(password.displayText(), "****");
}

TEST_F(Look, ProgressBarsLookAlikeAndUnlikeATextField) {
    auto& main = widget<QProgressBar>("BSprogressBarLine1");
    auto* service = program->setupWindow().findChild<QProgressBar*>("ProgressBar1");
    ASSERT_NE(service, nullptr);
    for (QProgressBar* bar : {&main, service}) {
        EXPECT_FALSE(bar->isTextVisible()) << bar->objectName().toStdString();
        EXPECT_EQ(bar->palette().color(QPalette::Base), main.palette().color(QPalette::Base));
    }
    EXPECT_NE(main.palette().color(QPalette::Base),
              widget<QLineEdit>("EditPassword").palette().color(QPalette::Base));
}

// The service window with the rows the login shows, the operator dialog with the operators'
// texts the models give it: each stands centred the first time.
TEST_F(Look, WindowsStandCentredWithTheirFinalSizeTheFirstTime) {
    program->app().setup.LabWorkAs.visible = true;
    program->app().setup.ComBoxWorkAs.visible = true;
    for (WindowId window : {WindowId::Setup, WindowId::Ussd}) {
        QPoint centre;
        QTimer closer;
        QObject::connect(&closer, &QTimer::timeout, [&] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                centre = modal->frameGeometry().center();
                modal->close();
            }
        });
        closer.start(20);
        program->app().services.dialogs.showModal(window);
        const QPoint mainCentre = program->mainWindow().frameGeometry().center();
        // Halves of odd sizes round apart by a pixel or two.
        EXPECT_NEAR(centre.x(), mainCentre.x(), 2) << static_cast<int>(window);
        EXPECT_NEAR(centre.y(), mainCentre.y(), 2) << static_cast<int>(window);
    }
}

TEST_F(Look, ServiceWindowLeavesNoBandForTheHiddenDateAndKeepsItsWidth) {
    TformSetup& s = program->app().setup;
    SetupWindow& setup = program->setupWindow();
    QTimer::singleShot(0, &setup, [&] {
        const QSize withDate = setup.size();
        s.labelNameFile.caption = "/home/installer/firmware/zelar-2/releases/2024/firmware.bin";
        s.Label4.visible = s.LabDate.visible = false;
        program->binder().pushAll();
        // The layouts follow the hidden rows in the next passes of the event loop.
        EXPECT_TRUE(QTest::qWaitFor([&] { return setup.height() < withDate.height(); }, 1000));
        EXPECT_EQ(setup.width(), withDate.width());
        setup.done(QDialog::Accepted);
    });
    program->app().services.dialogs.showModal(WindowId::Setup);
}

TEST_F(Look, ALongFirmwarePathKeepsItsFileNameInView) {
    TformSetup& s = program->app().setup;
    SetupWindow& setup = program->setupWindow();
    const std::string path =
        "/home/installer/Documents/firmware/zelar-2/releases/2024/controller/zelar2-v206.hex";
    s.labelNameFile.caption = s.labelNameFile.hint = path;
    QTimer::singleShot(0, &setup, [&] {
        const auto& label = *setup.findChild<QLabel*>("labelNameFile");
        const QString shown = label.text();
        EXPECT_TRUE(shown.startsWith("/home/")) << shown.toStdString();
        EXPECT_TRUE(shown.endsWith("zelar2-v206.hex")) << shown.toStdString();
        EXPECT_LE(label.fontMetrics().horizontalAdvance(shown), label.contentsRect().width());
        EXPECT_EQ(label.toolTip().toStdString(), path);
        setup.done(QDialog::Accepted);
    });
    program->app().services.dialogs.showModal(WindowId::Setup);
}

// Each button, check box and group with a text (Latin "PIN" and "OK" too) has an Alt letter of
// its own among what its window shows at once: the main window's frame with one page, the
// service window, the operator dialog, the archive window. Fault indicators and the group
// "Модем", with nothing in it to focus, have none, nor "Вернуть как было", no letter of which is
// free on every page. The letter follows a caption the model changes.
TEST_F(Look, EachControlHasAnAltLetterOfItsOwn) {
    program->binder().pushAll();
    auto& pages = widget<QTabWidget>("PageControl1");
    const QRegularExpression word("[A-Za-zА-я]"),
        none("^(CheckBoxErr.*|groupModem|BtnArchiveRevert)$");
    const auto letters = [&](QWidget& window, QWidget& part, const QWidget* skip) {
        QMap<QKeySequence, QString> taken;
        for (QWidget* w : part.findChildren<QWidget*>()) {
            const auto* button = qobject_cast<QAbstractButton*>(w);
            const auto* box = qobject_cast<QGroupBox*>(w);
            const QString text = button ? button->text() : box ? box->title() : QString();
            if (w->window() != &window || (skip && skip->isAncestorOf(w)) || !text.contains(word) ||
                none.match(w->objectName()).hasMatch())
                continue;
            const QKeySequence key = QKeySequence::mnemonic(text);
            EXPECT_FALSE(key.isEmpty() || taken.contains(key)) << w->objectName().toStdString();
            taken[key] = w->objectName();
        }
        return taken;
    };
    const auto frame = letters(program->mainWindow(), program->mainWindow(), &pages);
    for (int i = 0; i < pages.count(); ++i) {
        for (const QKeySequence& key :
             letters(program->mainWindow(), *pages.widget(i), nullptr).keys())
            EXPECT_FALSE(frame.contains(key)) << key.toString().toStdString();
    }
    letters(program->setupWindow(), program->setupWindow(), nullptr);
    letters(program->ussdWindow(), program->ussdWindow(), nullptr);
    letters(program->archiveWindow(), program->archiveWindow(), nullptr);
    program->app().main.ButtonWriteNastr.caption = "Записать всё";
    program->binder().pushAll();
    EXPECT_EQ(widget<QAbstractButton>("ButtonWriteNastr").text(), "&Записать всё");
}

// The signal meter's chart as painted, read back from its pixels. Times are seconds before the
// newest sample; the plot spans the widget but for the scale on the left and half a line of
// text above and below.
class ChartLook : public ::testing::Test {
  protected:
    ChartLook() {
        chart_.resize(420, 220);
        const QFontMetrics metrics = chart_.fontMetrics();
        const int half = metrics.height() / 2;
        plot_ = QRectF(metrics.horizontalAdvance(QStringLiteral("100%")) + 4, half,
                       chart_.width() - metrics.horizontalAdvance(QStringLiteral("100%")) - 5,
                       chart_.height() - 2 * half - 1);
    }
    // Points every `step` seconds from `from` to 0, each valued by `value(seconds)`.
    static LevelChart chart(int spanS, int from, int step,
                            const std::function<std::optional<int>(int)>& value) {
        LevelChart c;
        c.spanMs = spanS * 1000;
        for (int s = from; s >= 0; s -= step)
            c.points.push_back({s * 1000, value(s)});
        return c;
    }
    QImage paint(const LevelChart& c) {
        chart_.setChart(c);
        return chart_.grab().toImage();
    }
    int x(int seconds, int spanS) const {
        return qRound(plot_.right() - plot_.width() * seconds / spanS);
    }
    int y(double percent) const { return qRound(plot_.bottom() - plot_.height() * percent / 100); }
    // Whether the line's green is within two pixels of (x, y).
    static bool green(const QImage& image, int x, int y) {
        for (int dx = -2; dx <= 2; ++dx) {
            for (int dy = -2; dy <= 2; ++dy) {
                const QColor c = image.pixelColor(x + dx, y + dy);
                if (c.green() > 90 && c.red() < 80 && c.blue() < 80)
                    return true;
            }
        }
        return false;
    }
    // Whether any pixel of column x between the plot's top and bottom is green.
    bool greenInColumn(const QImage& image, int x) const {
        for (int row = qRound(plot_.top()) + 3; row < qRound(plot_.bottom()) - 2; ++row) {
            if (green(image, x, row))
                return true;
        }
        return false;
    }

    LevelChartWidget chart_;
    QRectF plot_;
};

TEST_F(ChartLook, TheNewestAtTheRightHigherValuesHigherGapsAndLoneValues) {
    // 50% over the last 100 s but a gap at 50 s; a lone 100% at 120 s between two gaps; 150%
    // held to the top at 200 s; nothing before.
    const QImage image = paint(chart(300, 300, 10, [](int s) -> std::optional<int> {
        if (s <= 100 && s != 50)
            return 50;
        if (s == 120)
            return 100;
        if (s == 200)
            return 150;
        return std::nullopt;
    }));
    EXPECT_TRUE(green(image, x(0, 300), y(50)));
    EXPECT_TRUE(green(image, x(30, 300), y(50)));
    EXPECT_FALSE(green(image, x(30, 300), y(90)));
    EXPECT_FALSE(greenInColumn(image, x(50, 300)));
    EXPECT_TRUE(green(image, x(120, 300), y(100)));
    EXPECT_FALSE(greenInColumn(image, x(115, 300)));
    EXPECT_TRUE(green(image, x(200, 300), y(100)));
    EXPECT_FALSE(greenInColumn(image, x(250, 300)));
}

// A faint line a minute back from the newest point, the scale's marks at 0 and 100%.
TEST_F(ChartLook, MinuteLinesAndTheScale) {
    const QImage image = paint(chart(300, 300, 10, [](int) { return std::nullopt; }));
    const QColor base = chart_.palette().color(QPalette::Base);
    const int row = y(60);
    for (const int minute : {60, 120, 240}) {
        int darkest = 255;
        for (int dx = -1; dx <= 1; ++dx)
            darkest = std::min(darkest, qGray(image.pixel(x(minute, 300) + dx, row)));
        // Marked, but faintly: no line of the scale's ink.
        EXPECT_LT(darkest, qGray(base.rgb())) << minute;
        EXPECT_GT(darkest, 180) << minute;
    }
    for (const int seconds : {30, 90, 270})
        EXPECT_EQ(image.pixelColor(x(seconds, 300), row), base) << seconds;
    const QRect scale(0, 0, qRound(plot_.left()) - 4, chart_.height());
    for (const double percent : {0.0, 100.0})
        EXPECT_GE(firstInk(image, QRect(scale.left(), y(percent) - 2, scale.width(), 4)), 0)
            << percent;
    EXPECT_LT(firstInk(image, QRect(scale.left(), y(87.5) - 2, scale.width(), 4)), 0);
}

// The chart shown again with other values (the meter started again) shows those, however
// few differ; with no span, no line.
TEST_F(ChartLook, AChartShownAgainShowsItsOwnValues) {
    const auto flat = [](int level) {
        return [level](int) -> std::optional<int> { return level; };
    };
    const QImage first = paint(chart(60, 60, 10, flat(20)));
    EXPECT_TRUE(green(first, x(30, 60), y(20)));
    EXPECT_TRUE(green(first, x(59, 60), y(20)));  // the oldest point, at the left edge
    QImage again = paint(chart(60, 60, 10, flat(80)));
    EXPECT_TRUE(green(again, x(30, 60), y(80)));
    EXPECT_FALSE(green(again, x(30, 60), y(20)));
    LevelChart one = chart(60, 60, 10, flat(80));
    one.points.back().value = 20;
    again = paint(one);
    EXPECT_TRUE(green(again, x(0, 60), y(20)));
    one.spanMs = 0;
    EXPECT_FALSE(greenInColumn(paint(one), x(30, 60)));
}

// The signal meter's chart as the report's picture, painted as the window paints it: the line
// where the values are, from the left edge (the oldest point of the span) to the newest at the
// right, and nothing across a point without a value.
TEST(ChartPicture, DrawsTheValuesWhereTheyStandAndBreaksTheLineAtAGap) {
    LevelChart chart;
    chart.spanMs = 300'000;
    chart.points = {{300'000, 50},           {240'000, 100}, {230'000, 100},
                    {200'000, std::nullopt}, {10'000, 0},    {0, 0}};
    const std::string png = levelChartPng(chart);
    QImage image;
    ASSERT_TRUE(image.loadFromData(reinterpret_cast<const uchar*>(png.data()),
                                   static_cast<int>(png.size()), "PNG"));
    // Green pixels in the part of the picture given as shares of its width and height.
    const auto green = [&](double left, double right, double top, double bottom) {
        int count = 0;
        for (int x = int(left * image.width()); x < int(right * image.width()); ++x) {
            for (int y = int(top * image.height()); y < int(bottom * image.height()); ++y) {
                const QRgb p = image.pixel(x, y);
                count += qGreen(p) > 90 && qRed(p) < 90 && qBlue(p) < 90 ? 1 : 0;
            }
        }
        return count;
    };
    EXPECT_GT(green(0.04, 0.12, 0.3, 0.7), 0);   // from 50% at the left edge
    EXPECT_GT(green(0.15, 0.35, 0.0, 0.15), 0);  // 100% four minutes back, at the top
    EXPECT_GT(green(0.9, 1.0, 0.85, 1.0), 0);    // 0% now, at the bottom right
    EXPECT_EQ(green(0.4, 0.9, 0.0, 1.0), 0);     // the gap
}

}  // namespace
}  // namespace zelar::ui
