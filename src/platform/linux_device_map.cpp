#include "platform/linux_device_map.h"

#include <fstream>
#include <system_error>

#include "text/hex.h"

namespace zelar {

namespace fs = std::filesystem;

namespace {

constexpr int kMaxPortNumber = 999;  // the port list keeps at most three digits

std::optional<int> suffixNumber(const std::string& name, const std::string& prefix) {
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) {
        return std::nullopt;
    }
    return parseDecimal(std::string_view(name).substr(prefix.size()));
}

std::string firstLine(const fs::path& file) {
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    return line;
}

}  // namespace

std::optional<int> fixedPortNumber(const std::string& deviceName) {
    struct Family {
        const char* prefix;
        int first;
    };
    static constexpr Family kFamilies[] = {{"ttyUSB", 33}, {"ttyACM", 65}, {"ttyS", 1}};
    for (const auto& family : kFamilies) {
        if (auto k = suffixNumber(deviceName, family.prefix)) {
            const int number = family.first + *k;
            if (number <= kMaxPortNumber)
                return number;
        }
    }
    return std::nullopt;
}

LinuxDeviceMap::LinuxDeviceMap(fs::path portsFolder, fs::path devFolder, fs::path sysTtyFolder)
    : portsFolder_(std::move(portsFolder)),
      devFolder_(std::move(devFolder)),
      sysTtyFolder_(std::move(sysTtyFolder)) {}

bool LinuxDeviceMap::isUsableDevice(const fs::path& device) const {
    std::error_code ec;
    if (!fs::exists(device, ec))
        return false;
    const fs::path sys = sysTtyFolder_ / device.filename();
    if (firstLine(sys / "console") == "Y")
        return false;
    // An 8250 slot without a UART behind it reports type 0.
    if (fs::exists(sys / "type", ec) && firstLine(sys / "type") == "0")
        return false;
    return true;
}

std::map<int, std::string> LinuxDeviceMap::scan() const {
    std::map<int, std::string> ports;
    std::error_code ec;

    for (fs::directory_iterator it(devFolder_, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        const auto number = fixedPortNumber(name);
        if (number && isUsableDevice(it->path()))
            ports[*number] = it->path().string();
    }

    for (fs::directory_iterator it(portsFolder_, ec), end; !ec && it != end; it.increment(ec)) {
        const auto number = suffixNumber(it->path().filename().string(), "COM");
        if (!number || *number < 1 || *number > kMaxPortNumber)
            continue;
        // The folder holds links to devices; a file or a folder put there by hand is no port.
        std::error_code linkEc;
        if (!it->is_symlink(linkEc))
            continue;
        const fs::path target = fs::canonical(it->path(), linkEc);
        if (linkEc || fs::is_directory(target, linkEc) || !isUsableDevice(target)) {
            continue;
        }
        ports[*number] = target.string();
    }
    return ports;
}

std::vector<std::string> LinuxDeviceMap::portNames() {
    std::vector<std::string> names;
    for (const auto& [number, device] : scan())
        names.push_back("COM" + std::to_string(number));
    return names;
}

std::optional<std::string> LinuxDeviceMap::devicePath(int portNumber) {
    const auto ports = scan();
    const auto it = ports.find(portNumber);
    if (it == ports.end())
        return std::nullopt;
    return it->second;
}

std::string LinuxDeviceMap::portDescription(int portNumber) {
    const auto device = devicePath(portNumber);
    if (!device)
        return {};
    // A USB adapter's tty sits one level (ACM) or two (serial converters) below the USB device,
    // which names its product.
    std::error_code ec;
    fs::path node = fs::canonical(sysTtyFolder_ / fs::path(*device).filename() / "device", ec);
    for (int up = 0; !ec && up < 3 && !node.empty(); ++up, node = node.parent_path()) {
        const std::string product = firstLine(node / "product");
        if (!product.empty())
            return *device + "\n" + product;
    }
    return *device;
}

}  // namespace zelar
