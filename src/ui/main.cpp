// The window program: configures one modem at a time over a serial port.
#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "ui/config_program.h"

namespace {

// Answered before Qt starts, so that it needs no display (help2man reads it at build time).
constexpr const char* kUsage =
    "Usage: zelar-config [--help] [--version]\n"
    "The configuration window for the Zelar-2 GSM alarm modem: choose the modem's COM port,\n"
    "read it, log in as one of its six users and view or edit its settings page by page; run\n"
    "its diagnostics; in the service window save and restore settings files,\n"
    "upload and download the SMS message dictionary and program the firmware. The window\n"
    "speaks Russian. The last port and the display mode are kept in Modem.ini.\n"
    "\n"
    "  -h, --help     print this text and exit\n"
    "      --version  print the version and exit\n"
    "\n"
    "zelar-cli does the same without a window; zelar-sim simulates a modem.\n";

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::puts("zelar-config " ZELAR_VERSION);
            return 0;
        }
    }
    QApplication qt(argc, argv);
    zelar::ui::ConfigProgram program;
    if (!program.start())
        return 1;
    // For timing the start (scripts/bench.sh): a zero timer runs once the events queued by the
    // show (expose, first paint) have been handled.
    if (std::getenv("ZELAR_REPORT_FIRST_FRAME") != nullptr) {
        QTimer::singleShot(0, [] {
            std::puts("first frame shown");
            std::fflush(stdout);
        });
    }
    return qt.exec();
}
