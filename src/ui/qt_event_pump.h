#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <map>
#include <memory>

#include "platform/event_pump.h"
#include "ui/error_report.h"

class QTimer;

namespace zelar::ui {

// The Qt event loop as the handlers' event pump. Waits run a nested event loop that sleeps
// until a timer ends it, so a long wait costs next to no processor time.
class QtEventPump : public QObject, public EventPump {
    Q_OBJECT
  public:
    explicit QtEventPump(QObject* parent = nullptr);

    std::int64_t tickMs() override;
    void processEvents(int maxWaitMs) override;
    TimerId startTimer(int intervalMs, std::function<void()> callback) override;
    void stopTimer(TimerId id) override;

    // Runs before each pass, so the windows show what the handlers changed (progress, texts).
    void setBeforePass(std::function<void()> hook) { beforePass_ = std::move(hook); }
    // Runs after each timer callback, so the windows show what it changed.
    void setAfterTimer(std::function<void()> hook) { afterTimer_ = std::move(hook); }
    // Where errors raised by timer callbacks go.
    void setErrorReporter(ErrorReporter reporter) { reporter_ = std::move(reporter); }

  private:
    QElapsedTimer clock_;
    std::map<TimerId, QTimer*> timers_;  // running timers; they are children of the pump
    TimerId nextId_ = 1;
    std::function<void()> beforePass_;
    std::function<void()> afterTimer_;
    ErrorReporter reporter_;
};

// A hook before each pass for as long as this lives: a hook that holds a command's locals
// goes with them.
class ScopedBeforePass {
  public:
    ScopedBeforePass(QtEventPump& pump, std::function<void()> hook) : pump_(pump) {
        pump_.setBeforePass(std::move(hook));
    }
    ScopedBeforePass(const ScopedBeforePass&) = delete;
    ScopedBeforePass& operator=(const ScopedBeforePass&) = delete;
    ~ScopedBeforePass() { pump_.setBeforePass(nullptr); }

  private:
    QtEventPump& pump_;
};

}  // namespace zelar::ui
