#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace zelar::simtool {

// The COM<n> link in the ports folder through which the program finds the simulator.
class PortLink {
  public:
    // Creates ports/COM<n> -> device, and beside it COM<n>.owner naming this process. First
    // removes the links of simulators that have gone without removing them: their device may
    // since belong to another program. With no number, takes the first free one from 200 down;
    // a link whose target no longer exists counts as free. Throws std::runtime_error when no
    // link can be made.
    PortLink(const std::filesystem::path& portsDir, std::optional<int> number,
             const std::string& device);
    ~PortLink();  // removes the link, if it still points at our device, and its owner file
    PortLink(const PortLink&) = delete;
    PortLink& operator=(const PortLink&) = delete;

    int number() const { return number_; }
    std::string name() const { return "COM" + std::to_string(number_); }
    const std::filesystem::path& path() const { return path_; }
    static std::filesystem::path ownerFile(const std::filesystem::path& link);
    void remove();

  private:
    int number_ = 0;
    std::filesystem::path path_;
    std::filesystem::path ownerPath_;
    std::string device_;
    bool active_ = false;
};

}  // namespace zelar::simtool
