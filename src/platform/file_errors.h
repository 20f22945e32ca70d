#pragma once

#include <string>

namespace zelar {

// Why a file operation failed, in the user's words, from the system's error number (errno).
std::string fileErrorText(int code);

// The reasons a file is refused before the system is asked to open it.
inline constexpr const char* kTextIsFolder = "Это папка";
inline constexpr const char* kTextNotRegularFile = "Это не обычный файл";

}  // namespace zelar
