#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "app/shell/read_settings.h"
#include "app/shell/startup.h"
#include "platform/memory_profile.h"
#include "sim/scripted_dialogs.h"
#include "sim/virtual_clock.h"
#include "support/fake_device_map.h"

namespace zelar {
namespace {

// Answers every command with random bytes: sometimes framed hex of the right length, sometimes
// anything at all, split at random.
class NoisyPort : public SerialPort {
  public:
    NoisyPort(sim::VirtualClock& clock, unsigned seed) : clock_(clock), random_(seed) {}

    void open(int, const LineSettings&) override { open_ = true; }
    void close() override { open_ = false; }
    bool isOpen() const override { return open_; }
    void purgeInput() override { received_.clear(); }
    void purgeOutput() override {}
    void write(const std::string& line) override {
        std::string reply = makeReply(line);
        int atMs = 0;
        while (!reply.empty()) {
            const std::size_t piece = 1 + pick(reply.size());
            const std::string chunk = reply.substr(0, piece);
            reply.erase(0, piece);
            atMs += static_cast<int>(pick(60));
            clock_.startTimer(atMs, [this, chunk] { received_ += chunk; });
        }
    }
    std::string readAll() override {
        std::string out;
        out.swap(received_);
        return out;
    }
    void setReceivedHandler(std::function<void()>) override {}

  private:
    std::size_t pick(std::size_t below) { return random_() % below; }

    std::string makeReply(const std::string& line) {
        std::size_t bytes = 8;
        if (line.size() >= 14 && line.compare(0, 6, "AT+V17") == 0) {
            bytes = std::stoul(line.substr(10, 4), nullptr, 16);
        }
        std::string payload;
        for (std::size_t i = 0; i < 2 * bytes; ++i)
            payload += "0123456789ABCDEF"[pick(16)];
        const std::string good = "\r\n" + payload + "\r\nOK\r\n";
        // Mostly good replies, so that reads get deep before something goes wrong.
        switch (pick(100)) {
            case 0:
                return good.substr(0, pick(good.size()));
            case 1:
                return good + std::string(1 + pick(3), 'K');
            case 2: {
                std::string noise(pick(300), '\0');
                for (char& c : noise)
                    c = static_cast<char>(pick(256));
                return noise;
            }
            case 3: {
                std::string garbled = good;
                garbled[pick(garbled.size())] = static_cast<char>(pick(256));
                return garbled;
            }
            default:
                return good;
        }
    }

    sim::VirtualClock& clock_;
    std::mt19937 random_;
    bool open_ = false;
    std::string received_;
};

TEST(ReadNoise, AnyRepliesEndTheReadInOrder) {
    int succeeded = 0;
    for (unsigned seed = 1; seed <= 150; ++seed) {
        sim::VirtualClock clock;
        NoisyPort port(clock, seed);
        sim::ScriptedDialogs dialogs;
        test::FakeDeviceMap devices;
        devices.names = {"COM1"};
        App app{Services{port, clock, dialogs, devices}};
        MemoryProfile profile;
        ASSERT_TRUE(FormShow(app, &profile));
        selectItem(app.main.ComboBox1, 0);

        btnReadNastUserClick(app);
        EXPECT_TRUE(app.main.btnReadNastUser.enabled) << seed;
        EXPECT_FALSE(port.isOpen()) << seed;
        EXPECT_EQ(app.main.BSprogressBarLine1.position, 0) << seed;
        succeeded += app.settingsRead ? 1 : 0;
        if (!app.settingsRead) {
            const auto& m = dialogs.messages;
            EXPECT_TRUE(std::any_of(m.begin(), m.end(), [](const auto& x) {
                return x.text == "Ошибка чтения настроек";
            })) << seed;
        }
    }
    // Both endings were reached.
    EXPECT_GT(succeeded, 5);
    EXPECT_LT(succeeded, 145);
}

}  // namespace
}  // namespace zelar
