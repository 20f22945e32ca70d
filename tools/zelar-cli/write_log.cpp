#include "write_log.h"

#include <array>

#include "files/settings_compare.h"
#include "files/settings_file.h"
#include "link/commands.h"
#include "settings/memory_map.h"
#include "text/hex.h"

namespace zelar::cli {

namespace {

// The sections' names by region, in the order of SettingsRegion; those with instances get
// their number ("SIM 2 USSD").
constexpr std::array<const char*, 17> kRegionNames = {"modem flags",
                                                      "user #",
                                                      "SIM #",
                                                      "SIM # USSD",
                                                      "SIM # balance limit",
                                                      "SIM # access point",
                                                      "SIM # access point login",
                                                      "SIM # access point password",
                                                      "DNS servers",
                                                      "GPRS login",
                                                      "server #",
                                                      "SIM detection",
                                                      "link test period",
                                                      "operating mode",
                                                      "serial number",
                                                      "voice call",
                                                      "incoming call"};

std::string named(SettingsRegion region, int k) {
    std::string name = kRegionNames.at(static_cast<std::size_t>(region));
    if (const auto hash = name.find('#'); hash != std::string::npos)
        name.replace(hash, 1, std::to_string(k));
    return name;
}

}  // namespace

std::string writtenSectionName(std::uint16_t address) {
    for (const RegionInstance& instance : allRegionInstances()) {
        const auto block = regionBlock(instance.region, instance.k);
        if (block && block->address == address)
            return named(instance.region, instance.k);
    }
    return "memory at " + toHex(address, 4);
}

void WriteLog::sent(const std::string& bytes) {
    if (const auto write = parseCommandV16(bytes)) {
        // A write sent again after Retry is still the one under way, not a section taken.
        if (addresses_.empty() || answered_ || addresses_.back() != write->address)
            addresses_.push_back(write->address);
        reply_.clear();
        answered_ = false;
    }
}

void WriteLog::received(const std::string& bytes) {
    if (addresses_.empty() || answered_)
        return;
    reply_ += bytes;
    answered_ = reply_.find("OK") != std::string::npos;
}

std::string WriteLog::summary() const {
    if (addresses_.empty())
        return {};
    const std::size_t taken = answered_ ? addresses_.size() : addresses_.size() - 1;
    std::string text = "written:";
    for (std::size_t i = 0; i < taken; ++i)
        text += (i == 0 ? " " : ", ") + writtenSectionName(addresses_[i]);
    if (taken == 0)
        text += " nothing";
    if (!answered_)
        text += "; under way: " + writtenSectionName(addresses_.back());
    return text;
}

std::string changedFilePages(const std::string& before, const std::string& after) {
    if (before == after)
        return {};
    SettingsFileContent first;
    SettingsFileContent second;
    const bool parsed = parseSettingsFile(before, first) && parseSettingsFile(after, second);
    if (!parsed)
        return "the whole file";
    std::string pages;
    std::string last;
    for (const SettingsDifference& d : compareSettings(first, second)) {
        if (d.page == last)
            continue;
        pages += (pages.empty() ? "" : ", ") + d.page;
        last = d.page;
    }
    return pages;
}

}  // namespace zelar::cli
