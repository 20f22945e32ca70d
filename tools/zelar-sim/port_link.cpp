#include "port_link.h"

#include <stdexcept>
#include <system_error>

namespace zelar::simtool {

namespace {

namespace fs = std::filesystem;

constexpr int kFirstChoice = 200;

bool isFree(const fs::path& link) {
    std::error_code ec;
    const auto status = fs::symlink_status(link, ec);
    if (ec || !fs::exists(status))
        return true;
    // Stale: a link whose device has gone.
    return fs::is_symlink(status) && !fs::exists(link, ec);
}

}  // namespace

PortLink::PortLink(const fs::path& portsDir, std::optional<int> number, const std::string& device)
    : device_(device) {
    std::error_code ec;
    fs::create_directories(portsDir, ec);
    if (ec)
        throw std::runtime_error("cannot create " + portsDir.string() + ": " + ec.message());
    if (number) {
        if (!isFree(portsDir / ("COM" + std::to_string(*number))))
            throw std::runtime_error("COM" + std::to_string(*number) + " is taken in " +
                                     portsDir.string());
        number_ = *number;
    } else {
        for (int n = kFirstChoice; n >= 1 && number_ == 0; --n) {
            if (isFree(portsDir / ("COM" + std::to_string(n))))
                number_ = n;
        }
        if (number_ == 0)
            throw std::runtime_error("no free COM number in " + portsDir.string());
    }
    path_ = portsDir / name();
    // Made under a temporary name and renamed, so a stale link is replaced in one step.
    fs::path temp = path_;
    temp += ".new";
    fs::remove(temp, ec);
    fs::create_symlink(device_, temp, ec);
    if (!ec)
        fs::rename(temp, path_, ec);
    if (ec) {
        fs::remove(temp, ec);
        throw std::runtime_error("cannot create " + path_.string());
    }
    active_ = true;
}

PortLink::~PortLink() {
    remove();
}

void PortLink::remove() {
    if (!active_)
        return;
    active_ = false;
    std::error_code ec;
    if (fs::read_symlink(path_, ec) == fs::path(device_) && !ec)
        fs::remove(path_, ec);
}

}  // namespace zelar::simtool
