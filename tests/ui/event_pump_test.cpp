#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTimer>
#include <cstdint>
#include <ctime>
#include <stdexcept>

#include "ui/qt_event_pump.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace zelar::ui {
namespace {

// Processor time of this process; std::clock() counts wall time on Windows.
double processCpuMs() {
#ifdef _WIN32
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    const auto ticks = [](const FILETIME& t) {
        return (static_cast<std::uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    return static_cast<double>(ticks(kernel) + ticks(user)) / 10000.0;
#else
    return 1000.0 * static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
#endif
}

TEST(QtEventPump, ZeroWaitStillRunsPostedEvents) {
    QtEventPump pump;
    int passes = 0;
    pump.setBeforePass([&] { ++passes; });
    bool ran = false;
    QMetaObject::invokeMethod(
        qApp, [&] { ran = true; }, Qt::QueuedConnection);

    PumpDelay(pump, 0);
    EXPECT_TRUE(ran);
    EXPECT_GE(passes, 1);
}

TEST(QtEventPump, AScopedHookEndsWithItsScope) {
    QtEventPump pump;
    int passes = 0;
    {
        const ScopedBeforePass hook(pump, [&] { ++passes; });
        PumpDelay(pump, 0);
    }
    const int during = passes;
    PumpDelay(pump, 0);
    EXPECT_GE(during, 1);
    EXPECT_EQ(passes, during);
}

TEST(QtEventPump, WaitSleepsInsteadOfSpinning) {
    QtEventPump pump;
    const double cpuStart = processCpuMs();
    const std::int64_t wallStart = pump.tickMs();

    PumpDelay(pump, 300);

    const double wallMs = static_cast<double>(pump.tickMs() - wallStart);
    const double cpuMs = processCpuMs() - cpuStart;
    EXPECT_GE(wallMs, 300);
    EXPECT_LT(cpuMs, 0.3 * wallMs);
}

TEST(QtEventPump, AWaitOnceTheProgramIsEndingFailsInsteadOfSpinning) {
    QtEventPump pump;
    bool ended = false;
    QTimer::singleShot(0, [&] {
        // From here on every event loop returns at once.
        QCoreApplication::exit(0);
        try {
            PumpDelay(pump, 1000);
        } catch (const ProgramEnding&) {
            ended = true;
        }
    });
    QCoreApplication::exec();
    EXPECT_TRUE(ended);
}

TEST(QtEventPump, EventsRunDuringAWait) {
    QtEventPump pump;
    std::int64_t firedAt = -1;
    const std::int64_t start = pump.tickMs();
    QTimer::singleShot(50, [&] { firedAt = pump.tickMs(); });

    PumpDelay(pump, 150);
    // A coarse timer may fire up to 5% early, and the clocks tick apart (Windows).
    EXPECT_GE(firedAt - start, 45);
    EXPECT_LT(firedAt - start, 150);
}

TEST(QtEventPump, OneShotTimersRunOnceStopAndReportErrors) {
    QtEventPump pump;
    std::vector<std::string> errors;
    pump.setErrorReporter([&](const std::exception& e) { errors.push_back(e.what()); });
    int fired = 0;
    int stoppedFired = 0;
    pump.startTimer(20, [&] { ++fired; });
    const auto stopped = pump.startTimer(20, [&] { ++stoppedFired; });
    pump.stopTimer(stopped);
    pump.startTimer(20, [] { throw std::runtime_error("timer failed"); });
    // A callback may start the next timer.
    pump.startTimer(10, [&] { pump.startTimer(10, [&] { ++fired; }); });

    PumpDelay(pump, 120);
    EXPECT_EQ(fired, 2);
    EXPECT_EQ(stoppedFired, 0);
    EXPECT_EQ(errors, std::vector<std::string>{"timer failed"});
    pump.stopTimer(stopped);  // stopping twice is harmless
}

}  // namespace
}  // namespace zelar::ui
