#pragma once

#include "app/core/app.h"
#include "forms/control_registry.h"
#include "report.h"

namespace zelar::cli {

// What the window shows after a read: identification, status, and, as far as the login may
// open them, the modem pages and each user's page as the navigation would fill it.
void addSettingsReport(Report& report, App& app);

// The lines of controls as the window shows them, with their state.
void addControls(std::vector<ReportLine>& lines, const std::vector<NamedControl>& controls);

}  // namespace zelar::cli
