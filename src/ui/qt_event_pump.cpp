#include "ui/qt_event_pump.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

namespace zelar::ui {

QtEventPump::QtEventPump(QObject* parent) : QObject(parent) {
    clock_.start();
}

std::int64_t QtEventPump::tickMs() {
    return clock_.elapsed();
}

void QtEventPump::processEvents(int maxWaitMs) {
    if (beforePass_)
        beforePass_();
    if (maxWaitMs <= 0) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        return;
    }
    QEventLoop loop;
    QTimer end;
    end.setSingleShot(true);
    end.setTimerType(Qt::PreciseTimer);
    connect(&end, &QTimer::timeout, &loop, &QEventLoop::quit);
    end.start(maxWaitMs);
    loop.exec();
    // Only the timer ends this loop, unless the application is quitting: then every event loop
    // returns at once, and a wait that went on would spin.
    if (end.isActive())
        throw ProgramEnding();
}

EventPump::TimerId QtEventPump::startTimer(int intervalMs, std::function<void()> callback) {
    const TimerId id = nextId_++;
    auto* timer = new QTimer(this);
    timer->setSingleShot(true);
    connect(timer, &QTimer::timeout, this, [this, id, callback = std::move(callback)] {
        // The timer goes before the callback runs: the callback may start or stop timers.
        const auto it = timers_.find(id);
        if (it == timers_.end())
            return;
        it->second->deleteLater();
        timers_.erase(it);
        const std::function<void()> run = callback;
        runReported(reporter_, run);
        if (afterTimer_)
            afterTimer_();
    });
    timers_.emplace(id, timer);
    timer->start(intervalMs);
    return id;
}

void QtEventPump::stopTimer(TimerId id) {
    const auto it = timers_.find(id);
    if (it == timers_.end())
        return;
    it->second->stop();
    it->second->deleteLater();
    timers_.erase(it);
}

}  // namespace zelar::ui
