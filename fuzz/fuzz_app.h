#pragma once

#include <string>

#include "app/core/app.h"
#include "app/shell/startup.h"
#include "platform/device_map.h"
#include "platform/memory_profile.h"
#include "sim/scripted_dialogs.h"
#include "sim/virtual_clock.h"

namespace zelar::fuzz {

// One port, COM1, always present.
class OnePortMap : public DeviceMap {
  public:
    std::vector<std::string> portNames() override { return {"COM1"}; }
    std::optional<std::string> devicePath(int n) override {
        return n == 1 ? std::optional<std::string>("fuzz") : std::nullopt;
    }
};

// An App on the virtual clock over the given port, started with COM1 selected. Questions are
// answered Cancel so that no retry loop runs for ever.
struct FuzzApp {
    explicit FuzzApp(SerialPort& port) : FuzzApp(port, ownClock) {}
    // On the clock of a simulated modem, so that its replies arrive as time passes.
    FuzzApp(SerialPort& port, sim::VirtualClock& sharedClock)
        : clock(sharedClock), app(Services{port, clock, dialogs, devices}) {
        FormShow(app, &profile);
        selectItemText(app.main.ComboBox1, "COM1");
    }
    void cancelQuestions() {
        for (int i = 0; i < 64; ++i)
            dialogs.answers.push_back(MessageResult::Cancel);
    }

    sim::VirtualClock ownClock;
    sim::VirtualClock& clock;
    sim::ScriptedDialogs dialogs;
    OnePortMap devices;
    MemoryProfile profile;
    App app;
};

}  // namespace zelar::fuzz
