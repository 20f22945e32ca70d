#pragma once

#include <string>

namespace zelar {

// A text as HTML shows it literally: '&', '<', '>', '"' and '\'' as entities, and every byte
// that would not show as itself written as "\x1B": the control bytes (line breaks too, a value
// stays on its line), UTF-8's C1 controls and bytes that are no UTF-8.
std::string htmlText(const std::string& text);

}  // namespace zelar
