#pragma once

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "archive/archive_store.h"
#include "support/sql_value.h"

namespace zelar::test {

// A folder of its own for each test, removed afterwards.
class ArchiveFolder {
  public:
    // Named by the process and the test, so that parallel runs and tests never share one (no
    // mkdtemp on Windows).
    ArchiveFolder() {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        folder_ = (std::filesystem::temp_directory_path() /
                   ("zelar-archive-" + std::to_string(::getpid()) + "-" +
                    (test != nullptr ? std::string(test->test_suite_name()) + "." + test->name()
                                     : std::string("none")) +
                    "-" + std::to_string(++count_)))
                      .string();
        std::error_code error;
        std::filesystem::remove_all(folder_, error);
        std::filesystem::create_directories(folder_, error);
    }
    ~ArchiveFolder() {
        std::error_code error;
        std::filesystem::remove_all(folder_, error);
    }
    std::string file(const std::string& name = "archive.sqlite") const {
        return (std::filesystem::path(folder_) / name).string();
    }

  private:
    static inline int count_ = 0;
    std::string folder_;
};

inline archive::VisitEntry visit(const std::string& serial, archive::UtcMillis time,
                                 const std::string& settings = {},
                                 const std::string& installer = {}) {
    archive::VisitEntry entry;
    entry.serial = serial;
    entry.time = time;
    entry.port = "COM3";
    entry.settings = settings;
    entry.installer = installer;
    return entry;
}

}  // namespace zelar::test
