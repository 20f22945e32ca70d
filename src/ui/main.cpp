// The window program: configures one modem at a time over a serial port.
#include <QApplication>
#include <QTimer>
#include <QTranslator>
#include <cstdio>
#include <cstdlib>

#include "ui/config_program.h"

int main(int argc, char** argv) {
    QApplication qt(argc, argv);
    // The Windows packages carry Qt's Russian texts (standard buttons, file dialogs) beside the
    // program; a build without that folder keeps Qt's English ones.
    QTranslator qtTexts;
    if (qtTexts.load("qtbase_ru", QApplication::applicationDirPath() + "/translations"))
        QApplication::installTranslator(&qtTexts);
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
