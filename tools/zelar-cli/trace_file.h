#pragma once

#include <string>

namespace zelar::cli {

// Whether two names lead to the same file, through links too; for names of files not yet
// there, whether their paths agree.
bool sameFile(const std::string& a, const std::string& b);

// Whether the name leads to the file that stdin reads.
bool isStdin(const std::string& path);

}  // namespace zelar::cli
