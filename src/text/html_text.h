#pragma once

#include <string>

namespace zelar {

// A text as HTML shows it literally: '&', '<', '>', '"' and '\'' as entities, and what would not
// show as itself escaped as controlEscape writes it: the control bytes as "\x1B" (line breaks
// too, a value stays on its line), UTF-8's C1 controls as "\u0098", and bytes that are no UTF-8
// as "\xFF".
std::string htmlText(const std::string& text);

}  // namespace zelar
