#pragma once

#include <memory>

#include "ui/binder.h"

class QTableWidget;

namespace zelar::ui {

// A table of the window models shown in a table widget, its rows chosen whole.
std::unique_ptr<Binding> tableBinding(Binder& binder, QTableWidget& widget, Table& control);

}  // namespace zelar::ui
