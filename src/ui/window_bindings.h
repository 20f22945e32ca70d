#pragma once

#include <QWidget>

#include "app/control_events.h"
#include "app/core/app.h"
#include "ui/binder.h"

namespace zelar::ui {

// Every control of the main window, bound to its widget.
void bindMainWindow(Binder& binder, QWidget& window, App& app);
// The service window's controls.
void bindSetupWindow(Binder& binder, QWidget& window, TformSetup& setup);
// The operator preset dialog's controls.
void bindUssdDialog(Binder& binder, QWidget& window, TFormUSSD& ussd);
// The log window's one text.
void bindLogWindow(Binder& binder, QWidget& window, TFormInit& log);
// The archive window's controls.
void bindArchiveWindow(Binder& binder, QWidget& window, TformArchive& archive);
// The handlers of the control event table for one window's bound controls.
void bindControlEvents(Binder& binder, QWidget& window, FormId form, App& app);

}  // namespace zelar::ui
