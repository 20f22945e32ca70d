#pragma once

#include <string>

namespace zelar {

// The text between double quotes, as a line of output shows a value: '"' and '\' get a
// backslash, every control byte (a line break too, which would split the line) is written as
// "\x1B" and a C1 control as "\u0098" (controlEscape). Other bytes, UTF-8 included, pass as
// they are.
std::string quoted(const std::string& text);

}  // namespace zelar
