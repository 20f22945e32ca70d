#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "app/core/app.h"
#include "platform/dialogs.h"
#include "platform/memory_profile.h"
#include "sim/sim_serial_port.h"
#include "support/fake_device_map.h"

namespace zelar::campaign {

// Questions answered the same way in both runs of an operation: by the operation's seed, the
// question's text and how often that text has been asked in this run.
class CampaignDialogs : public Dialogs {
  public:
    explicit CampaignDialogs(std::uint64_t seed) : seed_(seed) {}

    MessageResult messageBox(const std::string& text, const std::string& caption, MessageIcon icon,
                             MessageButtons buttons) override;
    std::optional<std::string> openFileName(const std::string&, const std::string&) override {
        return nextFile();
    }
    std::optional<std::string> saveFileName(const std::string&, const std::string&,
                                            const std::string&) override {
        return nextFile();
    }
    void showModal(WindowId) override {}
    void closeModal(WindowId) override {}

    struct Shown {
        std::string text;
        MessageButtons buttons;
        MessageResult answer;
    };
    std::vector<Shown> shown;
    std::deque<std::string> files;
    bool declined = false;  // a question was answered No or Cancel

  private:
    std::optional<std::string> nextFile();
    std::uint64_t seed_;
    std::vector<std::pair<std::string, int>> asked_;
    int retries_ = 0;
};

// One modem, its cable and a freshly started program: an operation runs in a world of its own,
// built from the memories the previous operation left.
struct World {
    World(const sim::ModemStore& store, std::uint64_t answerSeed);

    // Runs the virtual clock until firmware programming has ended (or a long time has passed).
    void settleFirmware();

    sim::VirtualClock clock;
    sim::SimModem modem;
    sim::SimCable cable{clock, modem, 1};
    sim::SimSerialPort port{cable};
    sim::SimSerialPort bootPort{cable};
    CampaignDialogs dialogs;
    test::FakeDeviceMap devices;
    MemoryProfile profile;
    App app{Services{port, clock, dialogs, devices, &bootPort}};
    // What the modem received since `recording` was set: command numbers (-1 for other lines)
    // and boot loader blocks (1000).
    std::vector<int> exchanges;
    bool recording = false;
};

inline constexpr int kBlockExchange = 1000;

std::uint64_t mix(std::uint64_t x);

// Numbers from one seed, the same on every standard library.
class Rng {
  public:
    explicit Rng(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next() { return mix(state_ += 0x9E3779B97F4A7C15ULL); }
    int below(int n) { return n <= 0 ? 0 : static_cast<int>(next() % std::uint64_t(n)); }
    int between(int lo, int hi) { return lo + below(hi - lo + 1); }
    bool chance(int percent) { return below(100) < percent; }
    std::string digits(int count);

  private:
    std::uint64_t state_;
};

}  // namespace zelar::campaign
