#pragma once

#include <string>

namespace zelar {

// Keys of the local configuration file; every write reaches the disk at once.
class Profile {
  public:
    virtual ~Profile() = default;

    virtual int readInt(const std::string& section, const std::string& key, int defaultValue) = 0;
    virtual void writeInt(const std::string& section, const std::string& key, int value) = 0;
    // Text keys (a file's path). A profile that keeps no texts gives the default.
    virtual std::string readText(const std::string& /*section*/, const std::string& /*key*/,
                                 const std::string& defaultValue) {
        return defaultValue;
    }
    virtual void writeText(const std::string& /*section*/, const std::string& /*key*/,
                           const std::string& /*value*/) {}
    // Creates the file's folder with all missing parents; false when that fails.
    virtual bool createFolder() = 0;
};

}  // namespace zelar
