#include "report_output.h"

#include <array>
#include <iostream>
#include <nlohmann/json.hpp>

#include "escaping_buffer.h"

namespace zelar::cli {

namespace {

using nlohmann::ordered_json;

std::string iconName(MessageIcon icon) {
    constexpr std::array<const char*, 5> kNames = {"none", "information", "warning", "error",
                                                   "question"};
    return kNames.at(static_cast<std::size_t>(icon));
}

ordered_json sectionJson(const ReportSection& section, bool withState) {
    ordered_json controls = ordered_json::array();
    for (const ReportLine& line : section.lines) {
        ordered_json control = {{"name", line.name}, {"value", line.value}};
        if (withState) {
            control["enabled"] = line.enabled;
            control["hidden"] = !line.visible;
        }
        controls.push_back(std::move(control));
    }
    return {{"name", section.name}, {"controls", std::move(controls)}};
}

void addEscape(std::string& out, unsigned char code) {
    constexpr const char* kHex = "0123456789abcdef";
    out += "\\u00";
    out += kHex[code >> 4];
    out += kHex[code & 0xF];
}

}  // namespace

// DEL and the C1 controls (U+0080 to U+009F) are left raw by the library, and a terminal may
// take them as commands, so they are written as \u escapes too; the library escapes the C0
// controls itself. Outside strings the text is ASCII. The JSON is then written past the
// terminal escaping, whose \x escapes are no JSON.
std::string escapeControls(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const auto next = static_cast<unsigned char>(i + 1 < text.size() ? text[i + 1] : 0);
        if (byte == 0x7F) {
            addEscape(out, byte);
        } else if (byte == 0xC2 && next >= 0x80 && next <= 0x9F) {
            addEscape(out, next);
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string reportJson(const Report& report, const std::string& command, bool ok,
                       const std::vector<ShownMessage>& messages) {
    ordered_json json = {{"command", command}, {"ok", ok}};
    ordered_json sections = ordered_json::array();
    for (const ReportSection& section : report.sections)
        sections.push_back(sectionJson(section, report.withState));
    json["sections"] = std::move(sections);
    if (!report.firstName.empty()) {
        json["compared"] = {report.firstName, report.secondName};
        ordered_json differences = ordered_json::array();
        for (const SettingsDifference& d : report.differences) {
            differences.push_back(
                {{"page", d.page}, {"field", d.field}, {"values", {d.first, d.second}}});
        }
        json["differences"] = std::move(differences);
    }
    ordered_json shown = ordered_json::array();
    for (const ShownMessage& m : messages)
        shown.push_back({{"caption", m.caption}, {"text", m.text}, {"icon", iconName(m.icon)}});
    json["messages"] = std::move(shown);
    // Bytes from the modem or a file that are no UTF-8 become U+FFFD rather than break the text.
    return escapeControls(json.dump(2, ' ', false, ordered_json::error_handler_t::replace));
}

int printReport(CliSession& session, const CliOptions& options, const Report& report, int status) {
    if (options.json) {
        writeUnescaped(std::cout, reportJson(report, options.command, status == 0,
                                             session.dialogs().shownMessages()) +
                                      "\n");
    } else {
        printReportText(std::cout, report);
    }
    return status;
}

}  // namespace zelar::cli
