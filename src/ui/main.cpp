// The window program: configures one modem at a time over a serial port.
#include <QApplication>

#include "ui/config_program.h"

int main(int argc, char** argv) {
    QApplication qt(argc, argv);
    zelar::ui::ConfigProgram program;
    if (!program.start())
        return 1;
    return qt.exec();
}
