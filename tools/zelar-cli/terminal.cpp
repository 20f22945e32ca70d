#include "terminal.h"

#include <cstdlib>
#include <cstring>

#ifdef _WIN32
#include <windows.h>
#ifndef ENABLE_VIRTUAL_TERMINAL_PROCESSING
#define ENABLE_VIRTUAL_TERMINAL_PROCESSING 0x0004
#endif
#else
#include <sys/ioctl.h>
#include <unistd.h>
#endif

namespace zelar::cli {

TerminalSize liveTerminalSize() {
#ifdef _WIN32
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    CONSOLE_SCREEN_BUFFER_INFO screen;
    if (out == INVALID_HANDLE_VALUE || !GetConsoleMode(out, &mode) ||
        !SetConsoleMode(out, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING) ||
        !GetConsoleScreenBufferInfo(out, &screen))
        return {};
    return {screen.srWindow.Bottom - screen.srWindow.Top + 1,
            screen.srWindow.Right - screen.srWindow.Left + 1};
#else
    const char* term = std::getenv("TERM");
    winsize size{};
    if (!::isatty(STDOUT_FILENO) || (term && std::strcmp(term, "dumb") == 0) ||
        ::ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) != 0)
        return {};
    return {size.ws_row, size.ws_col};
#endif
}

}  // namespace zelar::cli
