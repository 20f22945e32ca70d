#include "app/diagnostics/diagnostics_page.h"

#include <bit>

#include "app/control_events.h"
#include "app/diagnostics/signal_meter.h"
#include "sim_fixture.h"

namespace zelar {
namespace {

using sim::ReplyFault;

class DiagnosticsTest : public test::SimFixture {
  protected:
    DiagnosticsTest() {
        modem.setLog([this](const std::string& line) {
            if (line.rfind("> ", 0) == 0)
                commands.push_back(line.substr(2));
        });
    }
    // Presses the button through the window's event table.
    void click(const char* button) {
        dialogs.messages.clear();
        findControlEvents(FormId::Main, button)->click(app);
        EXPECT_FALSE(app.link.isOpen());
    }
    sim::Diagnostics& measured() { return modem.options().diagnostics; }
    void fault(ReplyFault kind, int command) {
        modem.options().faults.rules.push_back({kind, command, 0});
    }
    std::string message() const { return lastMessage() ? lastMessage()->text : ""; }
    std::vector<int> litBars() {
        std::vector<int> lit;
        const Panel* bars[] = {&app.main.PanelQ1, &app.main.PanelQ2, &app.main.PanelQ3,
                               &app.main.PanelQ4, &app.main.PanelQ5};
        for (int i = 0; i < 5; ++i) {
            if (bars[i]->lit)
                lit.push_back(i + 1);
        }
        return lit;
    }
    std::vector<std::string> commands;
};

TEST_F(DiagnosticsTest, TestMessageNeedsExactlySixCharacters) {
    bool enabledDuring = true;
    clock.startTimer(50, [&] { enabledDuring = app.main.BitBtnTest.enabled; });
    click("BitBtnTest");
    EXPECT_EQ(commands, std::vector<std::string>{"AT+V23"});
    EXPECT_FALSE(enabledDuring);
    EXPECT_TRUE(app.main.BitBtnTest.enabled);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(message(), "Тест выполнен");
    EXPECT_EQ(lastMessage()->caption, "Модем");

    // Eight characters count as no connection even though "OK" is there.
    modem.options().faults.strayBytes = "OK";
    fault(ReplyFault::StrayAfter, 23);
    click("BitBtnTest");
    EXPECT_EQ(message(), "Нет связи с модемом");
    EXPECT_EQ(lastMessage()->caption, "Ошибка");
    EXPECT_EQ(lastMessage()->icon, MessageIcon::Error);
}

TEST_F(DiagnosticsTest, BalanceTexts) {
    struct Row {
        std::uint8_t currentSim, simStatus;
        std::uint32_t balanceBits;
        const char* separator;
        const char* sim;
        const char* status;
        const char* balance;
    };
    const Row rows[] = {
        {0, 0, 0x42480000, ".", "Текущая Sim: Основная", "Статус Sim: Определен",
         "Баланс: 50.00"},  // bytes 00 00 48 42
        {1, 7, 0x42480000, ",", "Текущая Sim: Резервная", "Статус Sim: Неопределен",
         "Баланс: 50,00"},
        {0xFF, 0, std::bit_cast<std::uint32_t>(-3.456f), ",", "Текущая Sim: Резервная",
         "Статус Sim: Определен", "Баланс: -3,46"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.balance);
        measured().currentSim = r.currentSim;
        measured().simStatus = r.simStatus;
        measured().balance = std::bit_cast<float>(r.balanceBits);
        app.decimalSeparator = r.separator;
        click("BitBtnReadBalance");
        EXPECT_TRUE(dialogs.messages.empty());
        EXPECT_EQ(app.main.StaticTextNumSimCard.caption, r.sim);
        EXPECT_EQ(app.main.StaticTextBalanceStatus.caption, r.status);
        EXPECT_EQ(app.main.StaticTextBalanceSim.caption, r.balance);
    }
    EXPECT_EQ(commands.back(), "AT+V24");
}

TEST_F(DiagnosticsTest, FaultFlagsAndSignalLevel) {
    struct Row {
        std::uint16_t flags;
        std::uint8_t level;
        const char* quality;
        std::vector<int> lit;
    };
    const Row rows[] = {
        {0x0205, 0x1F, "Уровень: 100%", {1, 2, 3, 4, 5}},
        {0x0205, 0x07, "Уровень: 23%", {1, 2}},
        {0x0205, 0x10, "Уровень: 52%", {1, 2, 3}},
        {0x0205, 0x00, "Уровень: 0%", {}},
        {0x0205, 0x63, "Не определен", {}},
    };
    modem.options().diagnostics.pinError = true;
    app.main.CheckBoxErrPin.checked = false;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.quality);
        measured().faultFlags = r.flags;
        measured().signalLevel = r.level;
        click("BitBtnReadError");
        EXPECT_TRUE(dialogs.messages.empty());
        EXPECT_EQ(app.main.StaticTextQuality.caption, r.quality);
        EXPECT_EQ(litBars(), r.lit);
    }
    // Bytes 05 02: bits 0, 2 and 9.
    TformMain& m = app.main;
    const CheckBox* boxes[] = {&m.CheckBoxErr5V,          &m.CheckBoxErr12V,
                               &m.CheckBoxErrVddExt,      &m.CheckBoxErrVddSim,
                               &m.CheckBoxErrInEEPROM,    &m.CheckBoxErrFlash,
                               &m.CheckBoxErrSim,         &m.CheckBoxErrSimCard,
                               &m.CheckBoxErrCheckEEPROM, &m.CheckBoxErrCheckFlash};
    std::vector<bool> checked;
    for (const CheckBox* b : boxes)
        checked.push_back(b->checked);
    EXPECT_EQ(checked, (std::vector<bool>{1, 0, 1, 0, 0, 0, 0, 0, 0, 1}));
    // No reply sets the PIN error box.
    EXPECT_FALSE(m.CheckBoxErrPin.checked);
}

TEST_F(DiagnosticsTest, FailedReplyKeepsWhatWasShown) {
    measured().faultFlags = 0x0001;
    measured().signalLevel = 31;
    click("BitBtnReadBalance");
    click("BitBtnReadError");
    const std::string balance = app.main.StaticTextBalanceSim.caption;
    const std::string quality = app.main.StaticTextQuality.caption;
    measured().balance = 1;
    measured().faultFlags = 0x0002;
    measured().signalLevel = 0;
    // No reply, a garbled payload, a reply longer than its form.
    for (ReplyFault kind : {ReplyFault::Silent, ReplyFault::Corrupt, ReplyFault::StrayBefore}) {
        SCOPED_TRACE(sim::faultName(kind));
        modem.options().faults.rules.clear();
        fault(kind, 24);
        fault(kind, 25);
        for (const char* button : {"BitBtnReadBalance", "BitBtnReadError"}) {
            click(button);
            EXPECT_EQ(message(), "Нет связи с модемом");
        }
        EXPECT_EQ(app.main.StaticTextBalanceSim.caption, balance);
        EXPECT_EQ(app.main.StaticTextQuality.caption, quality);
        EXPECT_TRUE(app.main.CheckBoxErr5V.checked);
        EXPECT_FALSE(app.main.CheckBoxErr12V.checked);
        EXPECT_EQ(litBars(), (std::vector<int>{1, 2, 3, 4, 5}));
    }
}

TEST_F(DiagnosticsTest, PortThatCannotBeOpened) {
    cable.setPresent(false);
    for (const char* button : {"BitBtnTest", "BitBtnReadBalance", "BitBtnReadError"}) {
        SCOPED_TRACE(button);
        click(button);
        EXPECT_EQ(message(), "Не могу открыть порт");
        EXPECT_EQ(lastMessage()->caption, "Модем");
        EXPECT_FALSE(BitBtnReadBalanceClick(app));
    }
    EXPECT_TRUE(commands.empty());
    EXPECT_TRUE(app.main.BitBtnReadError.enabled);
    EXPECT_EQ(app.main.StaticTextBalanceSim.caption, "Баланс:");

    // The meter says so at its first sample, not after five missed ones; started again, again.
    for (int start = 1; start <= 2; ++start) {
        SCOPED_TRACE(start);
        dialogs.messages.clear();
        app.main.CheckBoxMeter.checked = true;
        ASSERT_TRUE(findControlEvents(FormId::Main, "CheckBoxMeter")->click(app));
        clock.advanceMs(100);
        EXPECT_FALSE(app.meter.running);
        EXPECT_FALSE(app.main.CheckBoxMeter.checked);
        EXPECT_FALSE(app.link.busy());
        ASSERT_EQ(dialogs.messages.size(), 1u);
        EXPECT_EQ(message(), "Не могу открыть порт");
        EXPECT_EQ(lastMessage()->caption, "Модем");
        EXPECT_TRUE(app.main.ChartSignal.points.empty());
        EXPECT_EQ(app.main.StaticTextMeter.caption, "");
    }
    cable.setPresent(true);
    ASSERT_TRUE(startSignalMeter(app, 1000));
    clock.advanceMs(1500);
    EXPECT_EQ(commands, std::vector<std::string>(2, "AT+V25"));
    stopSignalMeter(app);
}

// "Непрерывно" on the virtual clock: a sample a second with the port closed between them, the
// page and the chart following a level sequence, the other operations refused meanwhile, five
// missed replies after the cable is pulled ending it, and five minutes kept.
TEST_F(DiagnosticsTest, SignalMeterFollowsTheLevelUntilTheCableIsPulled) {
    TformMain& m = app.main;
    const auto toggleMeter = [&](bool on) {
        m.CheckBoxMeter.checked = on;
        return findControlEvents(FormId::Main, "CheckBoxMeter")->click(app);
    };
    const auto chartValues = [&] {
        std::vector<std::optional<int>> values;
        for (const LevelChart::Point& point : m.ChartSignal.points)
            values.push_back(point.value);
        return values;
    };
    {
        const TModemLink::Lease other(app.link);  // another operation runs
        EXPECT_FALSE(toggleMeter(true));
        EXPECT_FALSE(m.CheckBoxMeter.checked);
    }
    modem.options().signal.levels = {0, 16, 7, 99, 31};
    measured().faultFlags = 0x0001;
    ASSERT_TRUE(toggleMeter(true));
    clock.advanceMs(4500);
    EXPECT_EQ(commands, std::vector<std::string>(5, "AT+V25"));
    EXPECT_FALSE(app.link.isOpen());
    EXPECT_EQ(chartValues(), (std::vector<std::optional<int>>{0, 52, 23, std::nullopt, 100}));
    EXPECT_EQ(m.ChartSignal.points.front().msBeforeEnd, 4000);
    EXPECT_EQ(m.StaticTextQuality.caption, "Уровень: 100%");
    EXPECT_EQ(m.StaticTextMeter.caption,
              "Сейчас: 100%    за 5 минут: мин. 0%, макс. 100%, среднее 44%");
    click("BitBtnReadError");  // refused: the meter holds the link
    EXPECT_EQ(commands.size(), 5u);
    EXPECT_TRUE(dialogs.messages.empty());

    // The first missed reply shows no level at once; the faults stay as last seen.
    cable.setPresent(false);
    clock.advanceMs(1000);
    EXPECT_TRUE(app.meter.running);
    EXPECT_EQ(m.StaticTextQuality.caption, "Нет ответа");
    EXPECT_EQ(litBars(), std::vector<int>{});
    EXPECT_TRUE(m.CheckBoxErr5V.checked);
    clock.advanceMs(9000);
    EXPECT_FALSE(app.meter.running);
    EXPECT_FALSE(m.CheckBoxMeter.checked);
    EXPECT_FALSE(app.link.busy());
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(message(), "Нет связи с модемом");
    EXPECT_EQ(chartValues().size(), 10u);
    EXPECT_EQ(m.StaticTextMeter.caption,
              "Сейчас: —    за 5 минут: мин. 0%, макс. 100%, среднее 44%");
    EXPECT_EQ(m.StaticTextQuality.caption, "Нет ответа");

    // Back in, a new run starts from nothing, keeps only the last five minutes, and leaving
    // the page ends it.
    cable.setPresent(true);
    modem.options().signal.levels = {20};
    ASSERT_TRUE(toggleMeter(true));
    clock.advanceMs(500);
    EXPECT_EQ(chartValues(), std::vector<std::optional<int>>{65});
    EXPECT_EQ(m.StaticTextMeter.caption,
              "Сейчас: 65%    за 5 минут: мин. 65%, макс. 65%, среднее 65%");
    clock.advanceMs(400'000);
    EXPECT_EQ(m.ChartSignal.points.size(), 301u);
    EXPECT_EQ(m.ChartSignal.points.front().msBeforeEnd, SignalHistory::kSpanMs);
    m.TreeView1.selected = kNodeUsers;
    findControlEvents(FormId::Main, "TreeView1")->change(app);
    EXPECT_FALSE(app.meter.running);
    EXPECT_FALSE(app.link.busy());
    const auto sent = commands.size();
    clock.advanceMs(5000);
    EXPECT_EQ(commands.size(), sent);

    // Unchecked while a sample waits for its reply: the sample keeps the link to its end.
    ASSERT_TRUE(toggleMeter(true));
    bool heldAfterStop = false;
    clock.startTimer(50, [&] {
        toggleMeter(false);
        heldAfterStop = app.link.busy() && app.link.isOpen();
    });
    clock.advanceMs(5000);
    EXPECT_TRUE(heldAfterStop);
    EXPECT_FALSE(app.link.busy());
    EXPECT_EQ(commands.size(), sent + 1);
    // Picking another port stops it too.
    ASSERT_TRUE(toggleMeter(true));
    findControlEvents(FormId::Main, "ComboBox1")->change(app);
    EXPECT_FALSE(app.meter.running);
}

}  // namespace
}  // namespace zelar
