// Fills an archive of modems and times what the command line and the window ask of it: one
// visit recorded, the list of modems (whole and filtered), one modem's history, two entries
// compared. The figures of docs/performance.md; run by scripts/bench-archive.sh.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

#include "archive/archive_queries.h"
#include "archive/archive_store.h"

namespace {

using namespace zelar::archive;
using Clock = std::chrono::steady_clock;

// The median in milliseconds of `runs` runs.
double medianMs(int runs, const std::function<void(int)>& body) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        body(i);
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

std::string serialOf(int modem) {
    return std::to_string(7000000 + modem);
}

// A modem's settings as a read finds them; they change every fifth visit.
SettingsSnapshot settingsOf(int modem, int visit) {
    SettingsSnapshot s;
    auto& image = s.file.image;
    image.users[0].phone = "+7916" + std::to_string(1000000 + modem);
    image.users[0].password = std::to_string(1000 + modem % 9000);
    image.users[0].status = 0;
    image.sims[0].pin = "0000";
    image.sims[0].apnName = "internet.mts.ru";
    image.mainObjectMinus1 = static_cast<std::uint16_t>(modem % 9999);
    image.mainSystem = static_cast<std::uint8_t>(visit / 5);
    s.file.serialNumber = serialOf(modem).substr(0, 6);
    s.file.softVersion = "2.05";
    s.voice = zelar::VoiceCallBlock{8, 60, {"+79161234567", "", "", "", ""}, true};
    s.incoming = zelar::IncomingCallBlock{true, {"+79161234567", "", ""}};
    return s;
}

VisitEntry entryOf(int modem, int visit, UtcMillis time) {
    VisitEntry e;
    e.serial = serialOf(modem);
    e.time = time;
    e.operation = visit % 5 == 0 ? VisitOperation::PageWritten : VisitOperation::Read;
    e.port = "COM" + std::to_string(3 + modem % 8);
    e.user = 1;
    e.installer = "Монтажник " + std::to_string(modem % 50);
    e.firmwareVersion = "2.05";
    e.settings = encodeSnapshot(settingsOf(modem, visit));
    return e;
}

constexpr UtcMillis kStart = 1'700'000'000'000;
constexpr UtcMillis kDay = 24LL * 3600 * 1000;

void fill(const std::string& path, int modems, int visits) {
    auto store = openSqliteArchive(path, OpenMode::Write);
    for (int m = 0; m < modems; ++m) {
        std::vector<VisitEntry> entries;
        for (int v = 0; v < visits; ++v)
            entries.push_back(entryOf(m, v, kStart + v * kDay + m));
        store->addVisitsOnce(entries);
        store->setSite(serialOf(m), {"Объект " + std::to_string(m),
                                     "ул. Садовая, " + std::to_string(m % 300), ""});
    }
}

double megabytes(const std::string& path) {
    std::error_code error;
    double bytes = 0;
    for (const char* suffix : {"", "-wal"}) {
        const auto size = std::filesystem::file_size(path + suffix, error);
        if (!error)
            bytes += static_cast<double>(size);
    }
    return bytes / (1024.0 * 1024.0);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: archive-bench FILE [MODEMS [VISITS]]\n";
        return 2;
    }
    const std::string path = argv[1];
    const int modems = argc > 2 ? std::stoi(argv[2]) : 10000;
    const int visits = argc > 3 ? std::stoi(argv[3]) : 20;
    std::filesystem::remove(path);
    const auto started = Clock::now();
    fill(path, modems, visits);
    std::printf("filled %d modems x %d visits in %.1f s\n", modems, visits,
                std::chrono::duration<double>(Clock::now() - started).count());

    // As zelar-cli records: the store opened, the visit's settings encoded, one transaction.
    const double record = medianMs(21, [&](int i) {
        auto store = openSqliteArchive(path, OpenMode::Write);
        store->addVisit(entryOf(i * 37 % modems, visits + i, kStart + (visits + i) * kDay));
    });
    // As the window records: the store kept open.
    auto open = openSqliteArchive(path, OpenMode::Write);
    const double recordOpen = medianMs(21, [&](int i) {
        open->addVisit(entryOf(i * 53 % modems, visits + i, kStart + (visits + 30 + i) * kDay));
    });
    open.reset();
    auto store = openSqliteArchive(path, OpenMode::Read);
    std::size_t shown = 0;
    const double listAll = medianMs(11, [&](int) { shown = store->modems("").size(); });
    const double listFiltered = medianMs(
        11, [&](int i) { shown = store->modems("Объект 12" + std::to_string(i % 10)).size(); });
    const double history =
        medianMs(21, [&](int i) { shown = store->history(serialOf(i * 101 % modems)).size(); });
    const double diff = medianMs(21, [&](int i) {
        const EntryDiff d = diffEntries(*store, serialOf(i * 101 % modems), 1, visits);
        shown = differenceLines(d.differences, "1", "2", false).size();
    });
    const double size = megabytes(path);
    std::printf(
        "record one visit: %.1f ms as zelar-cli (open, encode, commit, close), %.1f ms "
        "as the window (encode, commit)\n",
        record, recordOpen);
    std::printf("list all %d modems: %.1f ms; filtered: %.1f ms\n", modems, listAll, listFiltered);
    std::printf("history of one modem: %.1f ms\n", history);
    std::printf("diff of two entries: %.1f ms\n", diff);
    std::printf(
        "archive: record %.1f ms, list %.1f ms, history %.1f ms, diff %.1f ms, size %.1f MB\n",
        record, listFiltered, history, diff, size);
    return shown > static_cast<std::size_t>(modems) ? 1 : 0;
}
