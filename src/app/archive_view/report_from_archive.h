#pragma once

#include <string>

#include "app/core/app.h"
#include "app/report/handover_report.h"
#include "app/report/save_report.h"

namespace zelar {

// What the report dialog offers first for the modem read last: the installer who last worked
// on it and its site ("name, address"), as the archive knows them. Empty fields when the
// archive is off, does not know the modem or cannot be read.
HandoverRequest reportRequestFromArchive(App& app);

// The installer named in the report dialog: every entry from now on carries his name.
void rememberInstaller(App& app, const std::string& installer);

// The report dialog with the archive's knowledge: the fields left empty in `given` (nothing
// remembered, nothing typed yet) are offered from the archive, and the installer accepted is
// the one the archive's entries carry from now on.
std::optional<HandoverRequest> askReportWithArchive(App& app, const HandoverRequest& given,
                                                    const ReportDialogAsk& ask);

}  // namespace zelar
