#include "provision/provision_report.h"

#include <cmath>

#include "csv_table.h"
#include "escaping_buffer.h"

namespace zelar::cli {

std::string secondsText(double seconds) {
    // By hand: the program runs in the user's locale, whose decimal point may be a comma.
    const long long tenths = std::llround(seconds * 10);
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
}

std::string provisionReportCsv(const std::vector<PortProgress>& ports) {
    std::string csv =
        csvLine({"port", "serial", "imei", "firmware", "result", "step", "message", "seconds"});
    for (const PortProgress& p : ports) {
        const bool ok = p.result == PortResult::Ok;
        CsvRow row{p.port,
                   p.serial,
                   p.imei,
                   p.firmware,
                   ok ? "ok" : "failed",
                   ok ? "" : p.step,
                   ok ? "" : p.message,
                   secondsText(p.seconds)};
        // Texts from the modem and the children's messages steer no terminal that shows the
        // file and are no formulas.
        for (std::string& field : row)
            field = spreadsheetText(escapedValue(field));
        csv += csvLine(row);
    }
    return csv;
}

}  // namespace zelar::cli
