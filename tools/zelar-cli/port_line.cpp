#include "port_line.h"

#include "escaping_buffer.h"

namespace zelar::cli {

std::string portLine(const std::string& name, const std::string& toolTip) {
    std::string line = escapedValue(name);
    if (toolTip.empty() || toolTip == name)
        return line;
    for (std::size_t start = 0; start <= toolTip.size();) {
        std::size_t end = toolTip.find('\n', start);
        if (end == std::string::npos)
            end = toolTip.size();
        line += '\t' + escapedValue(toolTip.substr(start, end - start));
        start = end + 1;
    }
    return line;
}

}  // namespace zelar::cli
