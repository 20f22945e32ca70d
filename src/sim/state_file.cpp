#include "sim/state_file.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <system_error>

#include "platform/regular_files.h"
#include "sim/sim_hex.h"

namespace zelar::sim {

namespace {

constexpr const char* kHeader = "zelar-sim state 1";

bool erased(const std::uint8_t* page) {
    return std::all_of(page, page + kPageSize, [](std::uint8_t b) { return b == 0xFF; });
}

void writePages(std::ostringstream& out, const char* name, const std::vector<std::uint8_t>& data) {
    for (std::size_t page = 0; page * kPageSize < data.size(); ++page) {
        const std::uint8_t* at = data.data() + page * kPageSize;
        if (!erased(at))
            out << name << ' ' << page << ' ' << hexfield::bytesText(at, kPageSize) << '\n';
    }
}

template <typename Memory>
bool readInto(Memory& memory, std::size_t offset, const std::string& hex) {
    const auto bytes = hexfield::bytes(hex);
    if (!bytes || bytes->size() != kPageSize || offset + kPageSize > memory.size())
        return false;
    std::copy(bytes->begin(), bytes->end(), memory.begin() + static_cast<std::ptrdiff_t>(offset));
    return true;
}

LoadedState refuse(int line, const std::string& why) {
    return {std::nullopt, "line " + std::to_string(line) + ": " + why};
}

}  // namespace

std::string stateText(const ModemStore& store) {
    std::ostringstream out;
    out << kHeader << '\n';
    out << "firmware " << store.firmwareVersion << '\n';
    out << "settings " << hexfield::bytesText(store.settings.data(), store.settings.size()) << '\n';
    out << "buffer " << hexfield::bytesText(store.pageBuffer.data(), store.pageBuffer.size())
        << '\n';
    writePages(out, "flash", store.flash);
    writePages(out, "program", store.program);
    return out.str();
}

LoadedState parseState(const std::string& text, const std::string& bootLoaderVersion) {
    std::istringstream in(text);
    std::string line;
    if (!std::getline(in, line) || line != kHeader)
        return refuse(1, "not a simulator state file");
    ModemStore store;
    store.bootLoaderVersion = bootLoaderVersion;
    bool haveSettings = false;
    int number = 1;
    while (std::getline(in, line)) {
        ++number;
        if (line.empty())
            continue;
        std::istringstream fields(line);
        std::string key;
        std::string value;
        fields >> key;
        if (key == "firmware") {
            fields >> value;
            if (value.size() != 4 || !hexfield::decimal(value))
                return refuse(number, "firmware version is not four digits");
            store.firmwareVersion = value;
        } else if (key == "settings") {
            fields >> value;
            const auto bytes = hexfield::bytes(value);
            if (!bytes || bytes->size() != kSettingsSize)
                return refuse(number, "settings memory is not 2048 bytes");
            std::copy(bytes->begin(), bytes->end(), store.settings.begin());
            haveSettings = true;
        } else if (key == "buffer") {
            fields >> value;
            if (!readInto(store.pageBuffer, 0, value))
                return refuse(number, "page buffer is not 256 bytes");
        } else if (key == "flash" || key == "program") {
            std::string page;
            fields >> page >> value;
            const auto index = hexfield::decimal(page);
            auto& memory = key == "flash" ? store.flash : store.program;
            if (!index || !readInto(memory, std::size_t{*index} * kPageSize, value))
                return refuse(number, "bad " + key + " page");
        } else {
            return refuse(number, "unknown entry \"" + key + "\"");
        }
    }
    if (!haveSettings)
        return refuse(number, "no settings memory");
    return {std::move(store), {}};
}

std::string saveState(const std::filesystem::path& file, const ModemStore& store) {
    // A unique temporary file beside it, renamed over it: two simulators on one state file
    // never write into each other's half-written copy.
    const std::string error = replaceFile(file.string(), stateText(store));
    return error.empty() ? std::string() : "cannot write " + file.string() + ": " + error;
}

LoadedState loadState(const std::filesystem::path& file, const std::string& bootLoaderVersion) {
    std::error_code ec;
    if (!std::filesystem::exists(file, ec))
        return {};
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return {std::nullopt, "cannot read " + file.string()};
    std::ostringstream text;
    text << in.rdbuf();
    LoadedState state = parseState(text.str(), bootLoaderVersion);
    if (!state.store)
        state.error = file.string() + ", " + state.error;
    return state;
}

}  // namespace zelar::sim
