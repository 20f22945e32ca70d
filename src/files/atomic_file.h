#pragma once

#include <string>
#include <string_view>

namespace zelar {

// Writes the whole file or nothing: the bytes go to a temporary file beside the target, which is
// then renamed over it, so a failure never leaves half a file nor destroys the old one. False
// with the system's reason in `error` when it fails.
bool writeFileAtomically(const std::string& path, std::string_view bytes, std::string& error);

// The whole file; false with the system's reason when it cannot be read.
bool readWholeFile(const std::string& path, std::string& bytes, std::string& error);

}  // namespace zelar
