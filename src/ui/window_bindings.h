#pragma once

#include <QWidget>

#include "app/app.h"
#include "ui/binder.h"

namespace zelar::ui {

// Every control of the main window with its handlers: one line per control.
void bindMainWindow(Binder& binder, QWidget& window, App& app);
// The log window's one text.
void bindLogWindow(Binder& binder, QWidget& window, TFormInit& log);

}  // namespace zelar::ui
