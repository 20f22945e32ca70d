#pragma once

#include <string>
#include <vector>

#include "provision/provision_port.h"

namespace zelar::cli {

// The report of a provisioning run as CSV: a heading, then one row a port with its modem's
// serial number, IMEI and firmware, the result (ok or failed), the failing step and its
// message, and the seconds it took. Control characters are written as "\x1B", as every
// output of zelar-cli writes them.
std::string provisionReportCsv(const std::vector<PortProgress>& ports);

// Seconds to a tenth with a point, whatever the locale: "12.3".
std::string secondsText(double seconds);

}  // namespace zelar::cli
