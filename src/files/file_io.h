#pragma once

#include <optional>
#include <string>

namespace zelar {

// The whole file; nothing when it cannot be opened or read.
std::optional<std::string> readWholeFile(const std::string& path);

// Writes the bytes to a temporary file beside `path` and renames it into place, so the file
// named is either the old one or the complete new one. Empty on success, else the system's
// text for the failure; the temporary file is removed then.
std::string writeFileReplacing(const std::string& path, const std::string& bytes);

}  // namespace zelar
