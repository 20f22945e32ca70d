#include "program_arguments.h"

#ifdef _WIN32
#include <windows.h>
// shellapi.h needs windows.h first.
#include <shellapi.h>

#include "ui/wide_text.h"
#endif

namespace zelar::cli {

#ifdef _WIN32

// main()'s argv is in the ANSI code page, where a file name in another script is lost; the
// wide command line holds it whole.
std::vector<std::string> programArguments(int, char**) {
    SetConsoleOutputCP(CP_UTF8);
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> args;
    for (int i = 1; i < count; ++i)
        args.push_back(ui::utf8FromWide(wide[i]));
    LocalFree(wide);
    return args;
}

#else

std::vector<std::string> programArguments(int argc, char** argv) {
    return std::vector<std::string>(argv + 1, argv + argc);
}

#endif

}  // namespace zelar::cli
