#include "terminal.h"

#include <cstdlib>
#include <cstring>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace zelar::cli {

bool stdoutIsLiveTerminal() {
#ifdef _WIN32
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    return out != INVALID_HANDLE_VALUE && GetConsoleMode(out, &mode) &&
           SetConsoleMode(out, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
#else
    const char* term = std::getenv("TERM");
    return ::isatty(STDOUT_FILENO) && !(term && std::strcmp(term, "dumb") == 0);
#endif
}

}  // namespace zelar::cli
