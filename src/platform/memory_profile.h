#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/profile.h"

namespace zelar {

// A configuration file held in memory: for tests, and for front ends that keep no configuration.
class MemoryProfile : public Profile {
  public:
    int readInt(const std::string& section, const std::string& key, int defaultValue) override {
        const auto it = values.find({section, key});
        return it == values.end() ? defaultValue : it->second;
    }
    void writeInt(const std::string& section, const std::string& key, int value) override {
        values[{section, key}] = value;
        writes.push_back(key);
    }
    bool createFolder() override { return folderCreatable; }

    std::map<std::pair<std::string, std::string>, int> values;
    std::vector<std::string> writes;
    bool folderCreatable = true;
};

}  // namespace zelar
