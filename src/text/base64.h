#pragma once

#include <string>
#include <string_view>

namespace zelar {

// Bytes as base64 text (RFC 4648, with '=' padding), for a picture inside an HTML page.
std::string base64(std::string_view bytes);

}  // namespace zelar
