#pragma once

#include <string>

namespace zelar::ui {

// UTF-8 of a Windows wide text, up to its first NUL. Windows only.
std::string utf8FromWide(const wchar_t* text);

}  // namespace zelar::ui
