#include "provision/provision_view.h"

#include <algorithm>
#include <array>

#include "escaping_buffer.h"

namespace zelar::cli {

namespace {

struct Column {
    const char* heading;
    std::size_t width;
};

constexpr std::array<Column, 7> kColumns{{{"port", 7},
                                          {"serial", 10},
                                          {"firmware", 9},
                                          {"IMEI", 16},
                                          {"step", 8},
                                          {"%", 5},
                                          {"result", 6}}};

bool isContinuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// The text cut or padded to `width` characters (UTF-8 counted by character).
std::string cell(const std::string& text, std::size_t width) {
    std::string out;
    std::size_t shown = 0;
    for (const char c : text) {
        if (!isContinuation(c) && ++shown > width)
            break;
        out += c;
    }
    return out + std::string(width - std::min(shown, width), ' ');
}

std::string resultText(PortResult result) {
    switch (result) {
        case PortResult::Ok:
            return "ok";
        case PortResult::Failed:
            return "failed";
        case PortResult::Waiting:
        case PortResult::Running:
            break;
    }
    return {};
}

std::string row(const std::vector<std::string>& cells) {
    std::string line;
    for (std::size_t i = 0; i < kColumns.size(); ++i)
        line += cell(cells[i], kColumns[i].width) + (i + 1 < kColumns.size() ? " " : "");
    return line.substr(0, line.find_last_not_of(' ') + 1);
}

// Texts from a modem or a file reach the terminal only as printable text, each on its one
// line: a line feed in an IMEI would break the table's rows.
std::string escaped(const std::string& text) {
    return escapedValue(text);
}

}  // namespace

std::vector<std::string> tableLines(const std::vector<PortProgress>& ports) {
    std::vector<std::string> heading;
    for (const Column& column : kColumns)
        heading.emplace_back(column.heading);
    std::vector<std::string> lines{row(heading)};
    for (const PortProgress& p : ports) {
        const bool waiting = p.result == PortResult::Waiting;
        const std::string step = waiting ? "waiting" : p.result == PortResult::Ok ? "done" : p.step;
        const std::string percent = waiting ? "" : std::to_string(p.percent) + "%";
        lines.push_back(
            row({p.port, p.serial, p.firmware, p.imei, step, percent, resultText(p.result)}));
    }
    return lines;
}

std::string summaryLine(const std::vector<PortProgress>& ports) {
    const auto ok = std::count_if(ports.begin(), ports.end(),
                                  [](const PortProgress& p) { return p.result == PortResult::Ok; });
    return std::to_string(ok) + " of " + std::to_string(ports.size()) + " modems provisioned";
}

void LineView::changed(const std::vector<PortProgress>& ports, std::size_t index,
                       const std::string& event) {
    if (!event.empty())
        out_ << escaped(ports[index].port + ": " + event) << std::endl;
}

void LineView::finished(const std::vector<PortProgress>& ports) {
    out_ << summaryLine(ports) << std::endl;
}

void TableView::changed(const std::vector<PortProgress>& ports, std::size_t, const std::string&) {
    draw(ports);
}

void TableView::finished(const std::vector<PortProgress>& ports) {
    draw(ports);
    for (const PortProgress& p : ports) {
        if (p.result == PortResult::Failed)
            out_ << escaped(p.port + ": " + p.step + ": " + p.message) << '\n';
    }
    out_ << summaryLine(ports) << std::endl;
}

void TableView::draw(const std::vector<PortProgress>& ports) {
    // Back to the table's first line, then each line written over and the rest of it cleared.
    if (drawn_ > 0)
        out_ << "\x1B[" << drawn_ << 'A';
    const std::vector<std::string> lines = tableLines(ports);
    for (const std::string& line : lines)
        out_ << '\r' << escaped(line) << "\x1B[K\n";
    drawn_ = lines.size();
    out_.flush();
}

}  // namespace zelar::cli
