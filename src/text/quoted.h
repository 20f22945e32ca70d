#pragma once

#include <string>

namespace zelar {

// The text between double quotes, as a line of output shows a value: '"' and '\' get a
// backslash, and every control byte (a line break too, which would split the line) is written
// as "\x1B". Other bytes, UTF-8 included, pass as they are.
std::string quoted(const std::string& text);

}  // namespace zelar
