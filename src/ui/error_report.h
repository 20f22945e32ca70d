#pragma once

#include <exception>
#include <functional>

namespace zelar::ui {

// Shows an error that escaped a handler; Qt must never see an exception unwind through it.
using ErrorReporter = std::function<void(const std::exception&)>;

// Runs `action`; an error it raises goes to `reporter` (or the Qt log when there is none) and
// the event loop goes on.
void runReported(const ErrorReporter& reporter, const std::function<void()>& action);

}  // namespace zelar::ui
