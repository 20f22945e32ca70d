#pragma once

#include <vector>

#include "app/core/app.h"

namespace zelar {

// The settings pages now hold what was read or loaded: no edits on any of them.
void notePagesShown(App& app);
// The page was written: its fields are what the modem or the file now holds.
void notePageWritten(App& app, Page page);
// The settings pages on view whose fields differ from what was last read or written, in the
// order of the tabs.
std::vector<Page> editedPages(App& app);
// The page's fields back to what was last read or written.
void dropPageEdits(App& app, Page page);

}  // namespace zelar
