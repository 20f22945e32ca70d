#pragma once

#include <string>
#include <vector>

namespace zelar::cli {

// The command line after the program's name, as UTF-8 on every system. Also lets the Windows
// console show the UTF-8 that the program prints.
std::vector<std::string> programArguments(int argc, char** argv);

}  // namespace zelar::cli
