#pragma once

#include <string>

namespace zelar {

// Integer and text keys of the local configuration file; every write reaches the disk at once.
class Profile {
  public:
    virtual ~Profile() = default;

    virtual int readInt(const std::string& section, const std::string& key, int defaultValue) = 0;
    virtual void writeInt(const std::string& section, const std::string& key, int value) = 0;
    // A text key, UTF-8.
    virtual std::string readText(const std::string& section, const std::string& key) = 0;
    virtual void writeText(const std::string& section, const std::string& key,
                           const std::string& value) = 0;
    // Creates the file's folder with all missing parents; false when that fails.
    virtual bool createFolder() = 0;
};

}  // namespace zelar
