#pragma once

#include <optional>
#include <string>

namespace zelar {

// The file's bytes, at most `limit` + 1 of them so that a caller can tell a file that is too
// large without holding all of it; nothing when it is no regular file or cannot be read.
// Never blocks, whatever the name stands for.
std::optional<std::string> readFileUpTo(const std::string& path, std::size_t limit);

// Writes the bytes to a temporary file of its own beside `path` and renames it into place, so
// the file named is either the old one or the complete new one. A new file is readable by its
// owner only, a replaced one keeps its mode. Empty on success, else a message naming the file
// and the reason; the temporary file is removed then.
std::string writeFileReplacing(const std::string& path, const std::string& bytes);

// Checks made before any long work, each empty when the file will do, else a message naming
// the file and the reason: a file to read must be a regular file that can be read; a file to
// write must be replaceable, and its folder must take the temporary file.
std::string inputFileProblem(const std::string& path);
std::string outputFileProblem(const std::string& path);
// A file to add to at its end (a trace): a regular file that can be written, or a new one
// that its folder takes.
std::string appendedFileProblem(const std::string& path);

}  // namespace zelar
