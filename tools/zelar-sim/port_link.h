#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace zelar::simtool {

// The COM<n> link in the ports folder through which the program finds the simulator.
class PortLink {
  public:
    // Creates ports/COM<n> -> device. With no number, takes the first free one from 200 down.
    // A link whose target no longer exists (left by a simulator that was killed) counts as free.
    // Throws std::runtime_error when no link can be made.
    PortLink(const std::filesystem::path& portsDir, std::optional<int> number,
             const std::string& device);
    ~PortLink();  // removes the link, if it still points at our device
    PortLink(const PortLink&) = delete;
    PortLink& operator=(const PortLink&) = delete;

    int number() const { return number_; }
    std::string name() const { return "COM" + std::to_string(number_); }
    const std::filesystem::path& path() const { return path_; }
    void remove();

  private:
    int number_ = 0;
    std::filesystem::path path_;
    std::string device_;
    bool active_ = false;
};

}  // namespace zelar::simtool
