#pragma once

#include "app/core/app.h"

namespace zelar {

inline constexpr const char* kTextWriteChanges = "Записать изменения?";

// Before the window leaves the settings pages on view (another node of the tree, a menu entry,
// a read, closing): when their fields differ from what was last read or written, asks
// "Записать изменения?". Да writes each edited page with "Записать" and goes on only when every
// write succeeded; Нет puts the pages back as they were and goes on; Отмена stays. The tree's
// selection and the page on view are those the user asked for when it goes on, and those of the
// edited pages when it stays. True when the window may go on.
bool leavePage(App& app);

// Closing the main window: leaves the pages first.
bool FormCloseQuery(App& app);

}  // namespace zelar
