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
    std::string readText(const std::string& section, const std::string& key,
                         const std::string& defaultValue) override {
        const auto it = texts.find({section, key});
        return it == texts.end() ? defaultValue : it->second;
    }
    void writeText(const std::string& section, const std::string& key,
                   const std::string& value) override {
        texts[{section, key}] = value;
        writes.push_back(key);
    }
    bool createFolder() override { return folderCreatable; }

    std::map<std::pair<std::string, std::string>, int> values;
    std::map<std::pair<std::string, std::string>, std::string> texts;
    std::vector<std::string> writes;
    bool folderCreatable = true;
};

}  // namespace zelar
