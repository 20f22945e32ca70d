#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "files/settings_compare.h"

namespace zelar::cli {

// One 'name: value' line of a command's output, with the control's state for --state.
struct ReportLine {
    std::string name;
    std::string value;
    bool enabled = true;
    bool visible = true;
};

struct ReportSection {
    std::string name;  // empty for lines printed without a heading
    std::vector<ReportLine> lines;
};

// What a command prints, held as data so that the text and the JSON forms say the same.
struct Report {
    std::vector<ReportSection> sections;
    bool withState = false;  // the lines carry their controls' state (read --state)
    // For verify and diff: what was compared, and the differences in the order of the pages.
    std::string firstName;
    std::string secondName;
    std::vector<SettingsDifference> differences;

    // The lines of a section that starts here.
    std::vector<ReportLine>& section(std::string name) {
        sections.push_back({std::move(name), {}});
        return sections.back().lines;
    }
};

// The text form: '[section]' headings, 'name: value' lines (with ' [enabled]' or ' [disabled]'
// and ' [hidden]' when the report carries the state), then one line a difference.
void printReportText(std::ostream& out, const Report& report);

}  // namespace zelar::cli
