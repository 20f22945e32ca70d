#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/core/app.h"
#include "app/report/report_document.h"

namespace zelar {

// Where the settings of a report come from. A settings file holds neither the identification
// nor the signal, nor the object parameters and the voice call numbers.
enum class ReportSource { Modem, File };

// What the person making the report gives.
struct HandoverRequest {
    std::string installer;
    std::string site;
    bool withSecrets = false;  // passwords, PINs and PUKs shown instead of kMaskedSecret
    std::string createdAt;     // the date and time, written the Russian way
    ReportSource source = ReportSource::Modem;
    std::string sourceName;  // the port ("COM5") or the file's name
    // A settings file's lines for people: the serial number and controller version texts the
    // main window showed when it was saved.
    std::string fileSerialNumber;
    std::string fileSoftVersion;
    // From a modem: whether the fault flags and the signal level on the diagnostics page were
    // read for this report.
    bool faultsRead = false;
};

inline constexpr const char* kMaskedSecret = "****";

// The report of what the window holds: the identification and the pages the login may see
// (every page for a settings file), users shown from the settings image one by one as the
// navigation would show them and set side by side, and for a modem the diagnostics page's faults
// and signal and, when the signal meter ran, its figures and chart. What the modem did not give
// says kNotRead. The main window's models are left as they were.
HandoverReport handoverReport(App& app, const HandoverRequest& request);

// The bytes of a PNG picture of the signal meter's chart: the front end's own.
using ChartPicture = std::function<std::string(const LevelChart& chart)>;

// The whole document as one HTML page with its styles and the chart's picture (when `picture`
// is given) inside, for the screen and for A4 paper. Every value is escaped: markup characters
// as entities, control bytes as "\x1B".
std::string handoverHtml(const HandoverReport& report, const ChartPicture& picture = {});

}  // namespace zelar
