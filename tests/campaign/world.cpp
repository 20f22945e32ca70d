#include "campaign/world.h"

#include <cstdio>
#include <cstdlib>

#include "app/service/firmware_update.h"
#include "app/shell/startup.h"
#include "forms/controls.h"

namespace zelar::campaign {

std::uint64_t mix(std::uint64_t x) {
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
    return x ^ (x >> 31);
}

std::string Rng::digits(int count) {
    std::string out;
    for (int i = 0; i < count; ++i)
        out += static_cast<char>('0' + below(10));
    return out;
}

namespace {

std::uint64_t textHash(const std::string& text) {
    std::uint64_t h = 0xCBF29CE484222325ULL;
    for (unsigned char c : text)
        h = (h ^ c) * 0x100000001B3ULL;
    return h;
}

// A failed exchange may be retried twice in a run; a third Retry would only repeat the cause.
constexpr int kMaxRetries = 2;

}  // namespace

MessageResult CampaignDialogs::messageBox(const std::string& text, const std::string&, MessageIcon,
                                          MessageButtons buttons) {
    int count = 0;
    for (auto& [asked, n] : asked_) {
        if (asked == text)
            count = ++n;
    }
    if (count == 0)
        asked_.emplace_back(text, count = 1);
    const int roll =
        static_cast<int>(mix(seed_ ^ textHash(text) ^ (std::uint64_t(count) << 56)) % 100);
    MessageResult answer = MessageResult::Ok;
    switch (buttons) {
        case MessageButtons::Ok:
            break;
        case MessageButtons::OkCancel:
            answer = roll < 80 ? MessageResult::Ok : MessageResult::Cancel;
            break;
        case MessageButtons::YesNo:
        case MessageButtons::YesNoCancel:
            answer = roll < 80 ? MessageResult::Yes : MessageResult::No;
            break;
        case MessageButtons::RetryCancel:
            answer =
                roll < 70 && retries_ < kMaxRetries ? MessageResult::Retry : MessageResult::Cancel;
            retries_ += answer == MessageResult::Retry;
            break;
    }
    declined |= answer == MessageResult::Cancel || answer == MessageResult::No;
    shown.push_back({text, buttons, answer});
    return answer;
}

std::optional<std::string> CampaignDialogs::nextFile() {
    if (files.empty())
        return std::nullopt;
    std::string path = files.front();
    files.pop_front();
    return path;
}

World::World(const sim::ModemStore& store, std::uint64_t answerSeed)
    : modem(store), dialogs(answerSeed) {
    devices.names = {"COM1"};
    devices.paths[1] = "sim";
    app.services.localTime = [] { return std::string("01.02.2026 03:04"); };
    FormShow(app, &profile);
    selectItemText(app.main.ComboBox1, "COM1");
    static const bool printLog = std::getenv("CAMPAIGN_MODEM_LOG") != nullptr;
    modem.setLog([this](const std::string& line) {
        if (printLog)
            std::fprintf(stderr, "%s\n", line.c_str());
        if (!recording)
            return;
        if (line.rfind("> AT+V", 0) == 0 && line.size() >= 8)
            exchanges.push_back(std::stoi(line.substr(6, 2)));
        else if (line.rfind("> ", 0) == 0)
            exchanges.push_back(-1);
        else if (line.rfind("  block page", 0) == 0)
            exchanges.push_back(kBlockExchange);
    });
}

void World::settleFirmware() {
    const auto start = clock.tickMs();
    while (firmwareBusy(app) && clock.tickMs() - start < 300'000)
        clock.advanceMs(500);
}

}  // namespace zelar::campaign
