#include "report.h"

#include "escaping_buffer.h"

namespace zelar::cli {

void printReportText(std::ostream& out, const Report& report) {
    for (const ReportSection& section : report.sections) {
        if (!section.name.empty())
            out << '[' << section.name << "]\n";
        for (const ReportLine& line : section.lines) {
            // One line a control: a line break in a value is shown escaped like any control.
            out << escapedValue(line.name) << ": " << escapedValue(line.value);
            if (report.withState) {
                out << (line.enabled ? " [enabled]" : " [disabled]");
                if (!line.visible)
                    out << " [hidden]";
            }
            out << '\n';
        }
    }
    for (const SettingsDifference& difference : report.differences)
        out << escapedValue(differenceLine(difference, report.firstName, report.secondName))
            << '\n';
    out.flush();
}

}  // namespace zelar::cli
