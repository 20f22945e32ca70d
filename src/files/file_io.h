#pragma once

#include <optional>
#include <string>

namespace zelar {

// The file's bytes, at most `limit` + 1 of them so that a caller can tell a file that is too
// large without holding all of it; nothing when it cannot be opened or read (a folder neither).
std::optional<std::string> readFileUpTo(const std::string& path, std::size_t limit);

// Writes the bytes to a temporary file beside `path` and renames it into place, so the file
// named is either the old one or the complete new one. Empty on success, else the system's
// text for the failure; the temporary file is removed then.
std::string writeFileReplacing(const std::string& path, const std::string& bytes);

}  // namespace zelar
