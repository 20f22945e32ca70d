#pragma once

#include <string>

#include "app/core/app.h"
#include "app/report/handover_report.h"

namespace zelar {

// What the report dialog offers first for the modem read last: the installer who last worked
// on it and its site ("name, address"), as the archive knows them. Empty fields when the
// archive is off, does not know the modem or cannot be read.
HandoverRequest reportRequestFromArchive(App& app);

// The installer named in the report dialog: every entry from now on carries his name.
void rememberInstaller(App& app, const std::string& installer);

}  // namespace zelar
