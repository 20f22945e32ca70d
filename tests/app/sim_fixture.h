#pragma once

#include <gtest/gtest.h>

#include "app/core/app.h"
#include "app/shell/startup.h"
#include "platform/memory_profile.h"
#include "sim/installed_modem.h"
#include "sim/scripted_dialogs.h"
#include "sim/sim_serial_port.h"
#include "support/fake_device_map.h"
#include "support/scripted_port.h"

namespace zelar::test {

// An App on the virtual clock, talking to the simulated modem on COM1.
class SimFixture : public ::testing::Test {
  protected:
    explicit SimFixture(const std::string& firmware = "0205")
        : modem(sim::installedModem(firmware)) {
        devices.names = {"COM1"};
        devices.paths[1] = "sim";
        FormShow(app, &profile);
        selectItemText(app.main.ComboBox1, "COM1");
    }

    const sim::ScriptedDialogs::Message* lastMessage() const {
        return dialogs.messages.empty() ? nullptr : &dialogs.messages.back();
    }
    std::uint8_t& memory(std::size_t address) { return modem.store().settings[address]; }

    sim::VirtualClock clock;
    sim::SimModem modem;
    sim::SimCable cable{clock, modem, 1};
    sim::SimSerialPort port{cable};
    sim::SimSerialPort bootPort{cable};  // the boot loader link's port object
    sim::ScriptedDialogs dialogs;
    FakeDeviceMap devices;
    MemoryProfile profile;
    App app{Services{port, clock, dialogs, devices, &bootPort}};
};

}  // namespace zelar::test
