#pragma once

#include <gtest/gtest.h>

#include "app/core/app.h"
#include "platform/memory_profile.h"
#include "sim/scripted_dialogs.h"
#include "sim/virtual_clock.h"
#include "support/fake_device_map.h"
#include "support/scripted_port.h"

namespace zelar::test {

// An App on the virtual clock with scripted dialogs, a scripted port and a fake port map.
class AppFixture : public ::testing::Test {
  protected:
    sim::VirtualClock clock;
    ScriptedPort port{clock};
    sim::ScriptedDialogs dialogs;
    FakeDeviceMap devices;
    MemoryProfile profile;
    App app{Services{port, clock, dialogs, devices}};

    std::vector<Page> visiblePages() const {
        std::vector<Page> pages;
        for (int i = 0; i < kPageCount; ++i) {
            if (app.main.page(static_cast<Page>(i)).tabVisible)
                pages.push_back(static_cast<Page>(i));
        }
        return pages;
    }
};

}  // namespace zelar::test
