#pragma once

#include <unistd.h>

#include <filesystem>
#include <string>

namespace zelar::test {

// A configuration folder of a test's own (XDG_CONFIG_HOME) with the folder of COM links that
// zelar-sim registers in; removed again however the test ends.
struct ConfigFolder {
    explicit ConfigFolder(const std::string& name)
        : dir(std::filesystem::temp_directory_path() / (name + "-" + std::to_string(::getpid()))),
          ports(dir / "Kalvimo" / "Zelar2" / "ports") {
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(ports);
    }
    ~ConfigFolder() { std::filesystem::remove_all(dir); }
    ConfigFolder(const ConfigFolder&) = delete;
    ConfigFolder& operator=(const ConfigFolder&) = delete;

    const std::filesystem::path dir;
    const std::filesystem::path ports;
};

}  // namespace zelar::test
