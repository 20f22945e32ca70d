#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace zelar {

// Files the program reads and writes on the user's behalf. Every failure comes back as its
// reason in the user's words (fileErrorText); nothing here blocks or throws.

struct FileRead {
    std::optional<std::string> bytes;
    std::string error;  // why there are no bytes
};

// A regular file's bytes, at most `limit` + 1 of them so that a caller can tell a file that
// is too large. A folder, a device or a FIFO is refused without being opened, and the opening
// itself never waits, so a name swapped for a FIFO meanwhile cannot hold the program either.
FileRead readRegularFile(const std::string& path, std::size_t limit);

// Writes the bytes into a new temporary file beside `path` (created exclusively under a name
// of its own, never through a link), then renames it into place: the file named is either the
// old one or the complete new one. A new file is readable by its owner only; a replaced one
// keeps its mode. A link at `path` has the file it points to replaced. Empty on success, else
// the reason; the temporary file is removed on every failure.
std::string replaceFile(const std::string& path, const std::string& bytes);

// What replaceFile would meet before writing: a target that is no regular file or may not be
// written, or a folder that takes no new file (tried by creating and removing the temporary
// file). Empty when there is nothing in the way.
std::string replaceFileProblem(const std::string& path);

// What appending to `path` would meet: an existing target that is no regular file (a FIFO that
// nobody reads would hold the program, a device would swallow the bytes) or may not be
// written, or, when there is none yet, a folder that takes no new file. Empty when there is
// nothing in the way.
std::string appendFileProblem(const std::string& path);

// Creates the file readable by its owner only, unless it exists; an existing file keeps its
// mode. Empty on success, else the reason.
std::string createPrivateFile(const std::string& path);

}  // namespace zelar
