#include "app/shell/find_modem.h"

#include <gtest/gtest.h>

#include <deque>
#include <map>

#include "app/control_events.h"
#include "app/shell/startup.h"
#include "platform/memory_profile.h"
#include "sim/installed_modem.h"
#include "sim/scripted_dialogs.h"
#include "sim/sim_serial_port.h"
#include "support/fake_device_map.h"

namespace zelar::test {
namespace {

// The system's serial ports behind the program's one port object: each COM number opens the
// simulated port wired to it.
class PortRack : public SerialPort {
  public:
    void add(int number, SerialPort& port) { ports_[number] = &port; }
    void open(int number, const LineSettings& settings) override {
        close();
        if (number == stopAt)
            throw SerialError("Прервано", PortFault::Stopped);
        const auto it = ports_.find(number);
        if (it == ports_.end())
            throw SerialError("Can't open device COM" + std::to_string(number));
        it->second->open(number, settings);
        open_ = it->second;
    }
    void close() override {
        if (open_ != nullptr)
            open_->close();
        open_ = nullptr;
    }
    bool isOpen() const override { return open_ != nullptr && open_->isOpen(); }
    void purgeInput() override { open_->purgeInput(); }
    void purgeOutput() override { open_->purgeOutput(); }
    void write(const std::string& bytes) override { open_->write(bytes); }
    std::string readAll() override { return open_->readAll(); }
    void setReceivedHandler(std::function<void()>) override {}

    int stopAt = 0;  // the program is told to stop when this port is opened

  private:
    std::map<int, SerialPort*> ports_;
    SerialPort* open_ = nullptr;
};

// One port of the rack: a simulated modem on its cable, and another program's port object.
struct Station {
    Station(sim::VirtualClock& clock, int number, const std::string& firmware)
        : modem(sim::installedModem(firmware)), cable(clock, modem, number) {}
    sim::SimModem modem;
    sim::SimCable cable;
    sim::SimSerialPort port{cable};
    sim::SimSerialPort otherProgram{cable};
};

// What each port answers, and what the list then shows beside its name.
struct ProbeRow {
    const char* name;
    std::string firmware;
    std::function<void(Station&)> arrange;
    PortAnswer answer;
    std::string label;  // empty: the port's name alone
};

// The list as the probe leaves it: each port with its answer, the status bar and the selection.
struct ListSeen {
    std::vector<std::string> labels;
    std::string selected;
    std::string status;
};

void expectList(const ComboBox& list, const std::string& status, const ListSeen& seen) {
    EXPECT_EQ(list.itemLabels, seen.labels);
    EXPECT_EQ(list.itemIndex >= 0 ? list.text : "", seen.selected);
    EXPECT_EQ(status, seen.status);
}

TEST(FindModem, EachPortAnswersAndAModemIsSelected) {
    using F = sim::ReplyFault;
    const auto fault = [](F kind, std::int64_t lateUs = 0) {
        return [kind, lateUs](Station& s) {
            s.modem.options().faults.rules = {{kind, 22, 0}};
            s.modem.options().faults.lateUs = lateUs;
        };
    };
    const std::vector<ProbeRow> rows = {
        {"silence", "0205", fault(F::Silent), PortAnswer::Silent, "COM1 — нет ответа"},
        {"garbage", "0205", fault(F::Corrupt), PortAnswer::Unrecognised, "COM2 — ответ не опознан"},
        {"held by another program", "0205",
         [](Station& s) { s.otherProgram.open(s.cable.portNumber(), {}); }, PortAnswer::Unavailable,
         "COM3 — порт недоступен"},
        {"modem", "0205", [](Station&) {}, PortAnswer::Modem, "COM4 — № 7204518, ПО 2.05"},
        {"older modem", "0150", [](Station&) {}, PortAnswer::Modem, "COM5 — № 7204518, ПО 1.50"},
        // The wait for one port is half a second.
        {"late, past the wait", "0205", fault(F::Late, 600'000), PortAnswer::Silent,
         "COM6 — нет ответа"},
        {"late, within the wait", "0205", fault(F::Late, 380'000), PortAnswer::Modem,
         "COM7 — № 7204518, ПО 2.05"},
        {"version digits that are no decimal", "02A5", [](Station&) {}, PortAnswer::Unrecognised,
         "COM8 — ответ не опознан"},
    };
    sim::VirtualClock clock;
    std::deque<Station> stations;
    PortRack rack;
    FakeDeviceMap devices;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const int number = static_cast<int>(i) + 1;
        Station& s = stations.emplace_back(clock, number, rows[i].firmware);
        rows[i].arrange(s);
        rack.add(number, s.port);
        devices.names.push_back("COM" + std::to_string(number));
        devices.paths[number] = "sim";
    }
    sim::ScriptedDialogs dialogs;
    MemoryProfile profile;
    App app{Services{rack, clock, dialogs, devices}};
    FormShow(app, &profile);
    const ComboBox& list = app.main.ComboBox1;
    const std::string& status = app.main.StatusBar1.text;
    std::vector<std::string> labels;
    for (const ProbeRow& row : rows)
        labels.push_back(row.label);

    // Nothing selected: the first modem in list order.
    const auto probes = findModem(app);
    ASSERT_EQ(probes.size(), rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i)
        EXPECT_EQ(probes[i].answer, rows[i].answer) << rows[i].name;
    expectList(list, status, {labels, "COM4", "Модем найден: COM4 — № 7204518, ПО 2.05"});
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(stations[2].modem.commandsSeen(), 0);  // the held port was left alone

    // Probed again with the user's choice on a later modem: that choice stays.
    selectItemText(app.main.ComboBox1, "COM5");
    ASSERT_TRUE(findControlEvents(FormId::Main, "btnFindModem")->click(app));
    expectList(list, status, {labels, "COM5", "Модем найден: COM5 — № 7204518, ПО 1.50"});
    // A choice where no modem answered gives way to the first modem, and the list looked at
    // again keeps it all.
    selectItemText(app.main.ComboBox1, "COM1");
    findModem(app);
    const auto dropDown = [&] { findControlEvents(FormId::Main, "ComboBox1")->dropDown(app); };
    dropDown();
    expectList(list, status, {labels, "COM4", "Модем найден: COM4 — № 7204518, ПО 2.05"});

    // The found port unplugged: the list drops it, the status bar no longer names it.
    devices.names.erase(devices.names.begin() + 3);
    dropDown();
    labels.erase(labels.begin() + 3);
    expectList(list, status, {labels, "", ""});

    // The modems silent: none answers, and no port keeps the label it earned before.
    for (Station& s : stations)
        s.modem.options().faults.rules = {{F::Silent, 22, 0}};
    findModem(app);
    for (std::size_t i = 0; i < labels.size(); ++i) {
        if (i != 2)
            labels[i] = list.items[i] + " — нет ответа";
    }
    dropDown();
    expectList(list, status, {labels, "", "Модем не найден"});
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "Модем не найден");
}

// Told to stop at the second port: that port and the ones after it were not asked, and say so;
// the next probe asks them all again.
TEST(FindModem, AStoppedProbeLeavesTheRestNotAsked) {
    sim::VirtualClock clock;
    std::deque<Station> stations;
    PortRack rack;
    FakeDeviceMap devices;
    for (int number = 1; number <= 3; ++number) {
        rack.add(number, stations.emplace_back(clock, number, "0205").port);
        devices.names.push_back("COM" + std::to_string(number));
        devices.paths[number] = "sim";
    }
    sim::ScriptedDialogs dialogs;
    MemoryProfile profile;
    App app{Services{rack, clock, dialogs, devices}};
    FormShow(app, &profile);
    const auto answers = [&] {
        std::vector<PortAnswer> seen;
        for (const PortProbe& probe : findModem(app))
            seen.push_back(probe.answer);
        return seen;
    };
    using A = PortAnswer;
    rack.stopAt = 2;
    EXPECT_EQ(answers(), (std::vector<A>{A::Modem, A::NotAsked, A::NotAsked}));
    EXPECT_EQ(stations[2].modem.commandsSeen(), 0);
    EXPECT_FALSE(app.link.busy());
    rack.stopAt = 0;
    EXPECT_EQ(answers(), (std::vector<A>{A::Modem, A::Modem, A::Modem}));
    EXPECT_EQ(app.main.ComboBox1.itemLabels.at(2), "COM3 — № 7204518, ПО 2.05");
}

}  // namespace
}  // namespace zelar::test
