#pragma once

#include <filesystem>
#include <string>

namespace zelar {

// A file name as the program holds it (UTF-8, from the dialogs and the command line) as the
// system's path. Windows would read a narrow name in its ANSI code page, so a folder named in
// Cyrillic would not be found there.
inline std::filesystem::path filePath(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

}  // namespace zelar
